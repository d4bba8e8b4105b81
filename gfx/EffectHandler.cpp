#include "gfx/EffectHandler.h"

#include "gfx/DataFileCache.h"
#include "gfx/GraphicsContext.h"
#include "gfx/HrCheck.h"

namespace kelvo {

namespace {

constexpr const char* kSource = "gfx/EffectHandler";
// The line the effect creation's failure report names.
constexpr int kCreateEffectLine = 49;

EffectHandler* theInstance = nullptr;

}  // namespace

EffectHandler& EffectHandler::instance() {
    if (theInstance == nullptr) {
        theInstance = new EffectHandler();
    }
    return *theInstance;
}

void EffectHandler::destroyInstance() {
    delete theInstance;
    theInstance = nullptr;
}

EffectHandler::~EffectHandler() {
    releaseAll();
}

ID3DXEffect* EffectHandler::getEffect(const std::string& name) {
    EffectEntry* entry = find(name);
    if (entry != nullptr && entry->effect != nullptr) {
        return entry->effect;
    }
    ID3DXEffect* effect = createEffect(name);
    if (entry == nullptr) {
        entries_.push_back({name, effect});
    } else {
        entry->effect = effect;
    }
    return effect;
}

void EffectHandler::releaseAll() {
    for (EffectEntry& entry : entries_) {
        if (entry.effect != nullptr) {
            entry.effect->Release();
            entry.effect = nullptr;
        }
    }
}

EffectEntry* EffectHandler::find(const std::string& name) {
    for (EffectEntry& entry : entries_) {
        if (entry.name == name) {
            return &entry;
        }
    }
    return nullptr;
}

ID3DXEffect* EffectHandler::createEffect(const std::string& name) {
    // A file missing from the cache gives no bytes; the effect framework then refuses the call
    // and the report below names it.
    const DataFileEntry* file = findDataFile(name);
    const void* bytes = file != nullptr ? file->data : nullptr;
    const UINT size = file != nullptr ? file->size : 0;
    ID3DXEffect* effect = nullptr;
    HR_CHECK(kSource, kCreateEffectLine,
             D3DXCreateEffect(GraphicsContext::instance().device, bytes, size, nullptr, nullptr, 0,
                              nullptr, &effect, nullptr));
    return effect;
}

}  // namespace kelvo
