#include "platform/d3dx9/EffectParser.h"

#include <toml++/toml.h>

#include <charconv>
#include <cstdint>
#include <cstring>
#include <new>
#include <set>

#include "platform/d3dx9/EffectStateNames.h"

namespace fx {
namespace {

// Thrown inside the reader only; parse() turns it into the result's message.
struct FileError {
    int line;
    std::string message;
};

// A float state's value is its bit pattern (std::bit_cast, which the browser build's library
// lacks).
DWORD floatBits(float value) {
    DWORD bits = 0;
    static_assert(sizeof bits == sizeof value);
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

int lineOf(const toml::node& node) {
    return static_cast<int>(node.source().begin.line);
}

[[noreturn]] void fail(int line, std::string message) {
    throw FileError{line, std::move(message)};
}

[[noreturn]] void fail(const toml::node& node, std::string message) {
    fail(lineOf(node), std::move(message));
}

bool isIdentifierStart(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
}

bool isIdentifierChar(char c) {
    return isIdentifierStart(c) || (c >= '0' && c <= '9');
}

// A GLSL-compatible name: the effect's names become GLSL identifiers unchanged.
bool isIdentifier(std::string_view name) {
    if (name.empty() || name.size() > 64 || !isIdentifierStart(name[0])) {
        return false;
    }
    for (char c : name) {
        if (!isIdentifierChar(c)) {
            return false;
        }
    }
    return name.substr(0, 3) != "gl_" && name.find("__") == std::string_view::npos;
}

void requireIdentifier(const toml::node& node, std::string_view name, std::string_view what) {
    if (!isIdentifier(name)) {
        fail(node, std::string(what) + " name '" + std::string(name) +
                       "' is not a valid identifier (letters, digits and '_', not starting with "
                       "a digit or 'gl_', no '__', at most 64 characters)");
    }
}

std::optional<ValueType> basicType(std::string_view name) {
    if (name == "float")
        return ValueType{BaseType::Float, 1};
    if (name == "float2")
        return ValueType{BaseType::Float, 2};
    if (name == "float3")
        return ValueType{BaseType::Float, 3};
    if (name == "float4")
        return ValueType{BaseType::Float, 4};
    if (name == "float4x4")
        return ValueType{BaseType::Float, 16};
    if (name == "int")
        return ValueType{BaseType::Int, 1};
    if (name == "bool")
        return ValueType{BaseType::Bool, 1};
    if (name == "texture")
        return ValueType{BaseType::Texture, 1};
    return std::nullopt;
}

class Reader {
public:
    Reader(std::string_view text, std::string_view sourceName) : text_(text) {
        effect_.sourceName = sourceName;
    }

    EffectDescription read(const toml::table& root) {
        checkKeys(root, {"code", "structs", "parameters", "samplers", "technique"}, "top level");
        if (const auto* code = root.get("code")) {
            effect_.shared = codeBlock(*code, "code");
        }
        if (const auto* structs = root.get("structs")) {
            readStructs(tableOf(*structs, "structs"));
        }
        if (const auto* parameters = root.get("parameters")) {
            readParameters(tableOf(*parameters, "parameters"));
        }
        if (const auto* samplers = root.get("samplers")) {
            readSamplers(tableOf(*samplers, "samplers"));
        }
        const auto* techniques = root.get("technique");
        if (techniques == nullptr) {
            fail(1, "the effect declares no technique ([[technique]] with a name and passes)");
        }
        readTechniques(*techniques);
        return std::move(effect_);
    }

private:
    static const toml::table& tableOf(const toml::node& node, std::string_view what) {
        const auto* table = node.as_table();
        if (table == nullptr) {
            fail(node, "'" + std::string(what) + "' must be a table");
        }
        return *table;
    }

    static void checkKeys(const toml::table& table, std::initializer_list<std::string_view> allowed,
                          std::string_view where) {
        for (auto&& [key, value] : table) {
            bool known = false;
            for (auto name : allowed) {
                known = known || key.str() == name;
            }
            if (!known) {
                fail(value,
                     "unknown key '" + std::string(key.str()) + "' in " + std::string(where));
            }
        }
    }

    static std::string stringOf(const toml::node& node, std::string_view what) {
        const auto* value = node.as_string();
        if (value == nullptr) {
            fail(node, "'" + std::string(what) + "' must be a string");
        }
        return value->get();
    }

    // The line of the effect file that holds the first line of a string's text: a multi-line
    // string whose opening quotes end their line starts on the next line.
    int textLine(const toml::node& node, const std::string& value) const {
        const int line = lineOf(node);
        if (value.find('\n') == std::string::npos) {
            return line;
        }
        std::string_view rest = text_;
        for (int i = 1; i < line && !rest.empty(); ++i) {
            const auto newline = rest.find('\n');
            rest =
                newline == std::string_view::npos ? std::string_view{} : rest.substr(newline + 1);
        }
        std::string_view source = rest.substr(0, rest.find('\n'));
        while (!source.empty() &&
               (source.back() == ' ' || source.back() == '\t' || source.back() == '\r')) {
            source.remove_suffix(1);
        }
        const bool opensBlock = source.ends_with("'''") || source.ends_with("\"\"\"");
        return opensBlock ? line + 1 : line;
    }

    CodeBlock codeBlock(const toml::node& node, std::string_view what) const {
        CodeBlock block;
        block.text = stringOf(node, what);
        block.line = textLine(node, block.text);
        return block;
    }

    // "float4", "PointLight[10]", "float4x4[32]".
    TypeRef typeRef(const toml::node& node, std::string_view spelled, bool allowStructs) const {
        std::string_view base = spelled;
        TypeRef type;
        if (const auto open = spelled.find('['); open != std::string_view::npos) {
            base = spelled.substr(0, open);
            const std::string_view count = spelled.substr(open + 1);
            unsigned size = 0;
            const auto [end, error] =
                std::from_chars(count.data(), count.data() + count.size(), size);
            const bool wellFormed = error == std::errc{} &&
                                    end == count.data() + count.size() - 1 && *end == ']' &&
                                    count[0] != '0';
            if (!wellFormed) {
                fail(node, "malformed array type '" + std::string(spelled) + "'");
            }
            if (size < 1 || size > EffectParser::kMaxArraySize) {
                fail(node, "array size " + std::to_string(size) + " is outside 1 to " +
                               std::to_string(EffectParser::kMaxArraySize));
            }
            type.arraySize = size;
        }
        if (auto value = basicType(base)) {
            type.value = *value;
            return type;
        }
        for (std::size_t i = 0; i < effect_.structs.size(); ++i) {
            if (effect_.structs[i].name == base) {
                if (!allowStructs) {
                    fail(node, "struct members cannot be structs ('" + std::string(base) + "')");
                }
                type.structIndex = static_cast<int>(i);
                return type;
            }
        }
        fail(node, "unknown type '" + std::string(base) + "'");
    }

    void readStructs(const toml::table& structs) {
        for (auto&& [key, value] : structs) {
            requireIdentifier(value, key.str(), "struct");
            if (basicType(key.str())) {
                fail(value, "struct name '" + std::string(key.str()) + "' is a built-in type");
            }
            effect_.structs.push_back(StructType{std::string(key.str()), {}});
        }
        for (std::size_t i = 0; i < effect_.structs.size(); ++i) {
            const auto& node = *structs.get(effect_.structs[i].name);
            const auto& members = tableOf(node, effect_.structs[i].name);
            if (members.empty()) {
                fail(node, "struct '" + effect_.structs[i].name + "' has no members");
            }
            for (auto&& [name, type] : members) {
                requireIdentifier(type, name.str(), "member");
                TypeRef ref = typeRef(type, stringOf(type, name.str()), false);
                if (ref.value.base == BaseType::Texture) {
                    fail(type, "struct members cannot be textures");
                }
                effect_.structs[i].members.push_back(StructMember{std::string(name.str()), ref});
            }
        }
    }

    unsigned wordsOf(const TypeRef& type) const {
        unsigned words = type.value.columns;
        if (type.structIndex >= 0) {
            words = 0;
            for (const auto& member : effect_.structs[type.structIndex].members) {
                words += wordsOf(member.type);
            }
        }
        return words * (type.arraySize == 0 ? 1 : type.arraySize);
    }

    static std::vector<float> defaults(const toml::node& node, const TypeRef& type,
                                       unsigned words) {
        if (type.structIndex >= 0 || type.value.base == BaseType::Texture) {
            fail(node, "defaults are only allowed for float, int and bool parameters");
        }
        std::vector<float> values;
        auto add = [&](const toml::node& item) {
            if (auto number = item.value<double>()) {
                values.push_back(static_cast<float>(*number));
            } else if (auto flag = item.value<bool>()) {
                values.push_back(*flag ? 1.0f : 0.0f);
            } else {
                fail(item, "a default value must be a number or a boolean");
            }
        };
        if (const auto* list = node.as_array()) {
            if (list->size() > words) {
                fail(node, "too many default values (" + std::to_string(list->size()) +
                               ", the parameter holds " + std::to_string(words) + ")");
            }
            for (const auto& item : *list) {
                add(item);
            }
        } else {
            add(node);
        }
        return values;
    }

    void readParameters(const toml::table& parameters) {
        unsigned totalWords = 0;
        for (auto&& [key, value] : parameters) {
            requireIdentifier(value, key.str(), "parameter");
            Parameter parameter;
            parameter.name = key.str();
            parameter.line = lineOf(value);
            for (const auto& type : effect_.structs) {
                if (type.name == parameter.name) {
                    fail(value, "parameter '" + parameter.name + "' has the name of a struct");
                }
            }
            const toml::node* typeNode = &value;
            if (const auto* table = value.as_table()) {
                checkKeys(*table, {"type", "default"}, "parameter '" + parameter.name + "'");
                typeNode = table->get("type");
                if (typeNode == nullptr) {
                    fail(value, "parameter '" + parameter.name + "' has no type");
                }
            }
            parameter.type = typeRef(*typeNode, stringOf(*typeNode, "type"), true);
            if (parameter.type.value.base == BaseType::Texture && parameter.type.arraySize != 0) {
                fail(value, "arrays of textures are not supported");
            }
            const unsigned words = wordsOf(parameter.type);
            totalWords += words;
            if (totalWords > EffectParser::kMaxParameterWords) {
                fail(value, "the parameters hold more than " +
                                std::to_string(EffectParser::kMaxParameterWords) + " values");
            }
            if (const auto* table = value.as_table(); table && table->get("default")) {
                parameter.defaults = defaults(*table->get("default"), parameter.type, words);
            }
            effect_.parameters.push_back(std::move(parameter));
        }
    }

    const Parameter* findParameter(std::string_view name) const {
        for (const auto& parameter : effect_.parameters) {
            if (parameter.name == name) {
                return &parameter;
            }
        }
        return nullptr;
    }

    static DWORD stateValue(const toml::node& node, std::string_view state, StateValueKind kind) {
        const std::string where = " for " + std::string(state);
        switch (kind) {
            case StateValueKind::Bool:
                if (auto flag = node.value_exact<bool>()) {
                    return *flag ? TRUE : FALSE;
                }
                fail(node, "expected true or false" + where);
            case StateValueKind::Integer: {
                auto number = node.value_exact<std::int64_t>();
                if (!number || *number < 0 || *number > 0xFFFFFFFFll) {
                    fail(node, "expected an integer from 0 to 0xFFFFFFFF" + where);
                }
                return static_cast<DWORD>(*number);
            }
            case StateValueKind::Float:
                if (auto number = node.value<double>()) {
                    return floatBits(static_cast<float>(*number));
                }
                fail(node, "expected a number" + where);
            case StateValueKind::ZBuffer:
                if (auto flag = node.value_exact<bool>()) {
                    return *flag ? D3DZB_TRUE : D3DZB_FALSE;
                }
                break;
            default:
                break;
        }
        const auto* name = node.as_string();
        if (name != nullptr) {
            if (auto value = EffectStateNames::namedValue(kind, name->get())) {
                return *value;
            }
            fail(node, "unknown value '" + name->get() + "'" + where);
        }
        fail(node, "expected a value name" + where);
    }

    void readSamplers(const toml::table& samplers) {
        for (auto&& [key, value] : samplers) {
            requireIdentifier(value, key.str(), "sampler");
            if (findParameter(key.str()) != nullptr) {
                fail(value, "sampler '" + std::string(key.str()) + "' has the name of a parameter");
            }
            if (effect_.samplers.size() == EffectParser::kMaxSamplers) {
                fail(value,
                     "more than " + std::to_string(EffectParser::kMaxSamplers) + " samplers");
            }
            SamplerDesc sampler;
            sampler.name = key.str();
            sampler.line = lineOf(value);
            sampler.unit = static_cast<unsigned>(effect_.samplers.size());
            for (auto&& [stateName, stateNode] : tableOf(value, sampler.name)) {
                if (stateName.str() == "texture") {
                    sampler.texture = stringOf(stateNode, "texture");
                    const auto* texture = findParameter(sampler.texture);
                    if (texture == nullptr || texture->type.structIndex >= 0 ||
                        texture->type.value.base != BaseType::Texture) {
                        fail(stateNode, "'" + sampler.texture + "' is not a texture parameter");
                    }
                    continue;
                }
                const auto info = EffectStateNames::samplerState(stateName.str());
                if (!info) {
                    fail(stateNode, "unknown sampler state '" + std::string(stateName.str()) + "'");
                }
                sampler.states.emplace_back(static_cast<D3DSAMPLERSTATETYPE>(info->state),
                                            stateValue(stateNode, stateName.str(), info->kind));
            }
            if (sampler.texture.empty()) {
                fail(value, "sampler '" + sampler.name + "' names no texture");
            }
            effect_.samplers.push_back(std::move(sampler));
        }
    }

    static std::set<std::string> identifiers(std::string_view code) {
        std::set<std::string> names;
        for (std::size_t i = 0; i < code.size();) {
            if (!isIdentifierStart(code[i])) {
                ++i;
                continue;
            }
            std::size_t end = i;
            while (end < code.size() && isIdentifierChar(code[end])) {
                ++end;
            }
            names.emplace(code.substr(i, end - i));
            i = end;
        }
        return names;
    }

    PassDesc readPass(const toml::node& node, const std::string& technique, std::size_t index) {
        const std::string where =
            "pass " + std::to_string(index) + " of technique '" + technique + "'";
        const auto& table = tableOf(node, where);
        checkKeys(table, {"vertex", "fragment", "states"}, where);
        PassDesc pass;
        pass.line = lineOf(node);
        const auto* vertex = table.get("vertex");
        const auto* fragment = table.get("fragment");
        if (vertex == nullptr || fragment == nullptr) {
            fail(node, where + " needs both a vertex and a fragment stage");
        }
        pass.vertex = codeBlock(*vertex, "vertex");
        pass.fragment = codeBlock(*fragment, "fragment");
        if (const auto* states = table.get("states")) {
            for (auto&& [name, value] : tableOf(*states, "states")) {
                const auto info = EffectStateNames::renderState(name.str());
                if (!info) {
                    fail(value, "unknown render state '" + std::string(name.str()) + "'");
                }
                pass.renderStates.emplace_back(static_cast<D3DRENDERSTATETYPE>(info->state),
                                               stateValue(value, name.str(), info->kind));
            }
        }
        auto names = identifiers(effect_.shared.text);
        names.merge(identifiers(pass.vertex.text));
        names.merge(identifiers(pass.fragment.text));
        for (const auto& sampler : effect_.samplers) {
            if (names.count(sampler.name) != 0) {
                pass.samplers.push_back(sampler.unit);
            }
        }
        return pass;
    }

    void readTechniques(const toml::node& node) {
        const auto* list = node.as_array();
        if (list == nullptr || list->empty() || !list->is_array_of_tables()) {
            fail(node, "'technique' must be a list of tables ([[technique]])");
        }
        if (list->size() > EffectParser::kMaxTechniques) {
            fail(node, "more than " + std::to_string(EffectParser::kMaxTechniques) + " techniques");
        }
        for (const auto& item : *list) {
            const auto& table = *item.as_table();
            checkKeys(table, {"name", "pass"}, "technique");
            TechniqueDesc technique;
            technique.line = lineOf(item);
            const auto* name = table.get("name");
            if (name == nullptr) {
                fail(item, "technique without a name");
            }
            technique.name = stringOf(*name, "name");
            requireIdentifier(*name, technique.name, "technique");
            for (const auto& other : effect_.techniques) {
                if (other.name == technique.name) {
                    fail(*name, "technique '" + technique.name +
                                    "' is declared twice (first on line " +
                                    std::to_string(other.line) + ")");
                }
            }
            const auto* passes = table.get("pass");
            const auto* passList = passes ? passes->as_array() : nullptr;
            if (passList == nullptr || passList->empty()) {
                fail(item, "technique '" + technique.name + "' has no passes ([[technique.pass]])");
            }
            if (passList->size() > EffectParser::kMaxPasses) {
                fail(*passes, "technique '" + technique.name + "' has more than " +
                                  std::to_string(EffectParser::kMaxPasses) + " passes");
            }
            for (std::size_t i = 0; i < passList->size(); ++i) {
                technique.passes.push_back(readPass(*passList->get(i), technique.name, i));
            }
            effect_.techniques.push_back(std::move(technique));
        }
    }

    std::string_view text_;
    EffectDescription effect_;
};

std::string message(std::string_view sourceName, int line, std::string_view problem) {
    return std::string(sourceName) + ":" + std::to_string(line) + ": " + std::string(problem);
}

}  // namespace

EffectParser::Result EffectParser::parse(std::string_view text, std::string_view sourceName) {
    Result result;
    if (text.size() > kMaxSourceBytes) {
        result.error = message(sourceName, 1, "the effect file is larger than 4 MiB");
        return result;
    }
    try {
        const toml::table root = toml::parse(text, sourceName);
        result.effect = Reader(text, sourceName).read(root);
    } catch (const toml::parse_error& error) {
        result.error =
            message(sourceName, static_cast<int>(error.source().begin.line), error.description());
    } catch (const FileError& error) {
        result.error = message(sourceName, error.line, error.message);
    } catch (const std::bad_alloc&) {
        result.error = message(sourceName, 1, "out of memory while reading the effect");
    } catch (const std::exception& error) {
        result.error = message(sourceName, 1, error.what());
    }
    return result;
}

}  // namespace fx
