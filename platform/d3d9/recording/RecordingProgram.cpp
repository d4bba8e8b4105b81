#include "platform/d3d9/recording/RecordingProgram.h"

#include "platform/d3d9/recording/RecordingDevice.h"

RecordingProgram::RecordingProgram(RecordingDevice& device, std::string name,
                                   std::string vertexSource, std::string fragmentSource)
    : RecordingObject(device, std::move(name)),
      vertexSource_(std::move(vertexSource)),
      fragmentSource_(std::move(fragmentSource)) {}

INT RecordingProgram::GetUniformLocation(const char* uniform) {
    auto guard = device().lock();
    INT location = -1;
    if (uniform != nullptr && !device().isOptimisedOut(uniform)) {
        auto [entry, added] = locations_.try_emplace(uniform, 0);
        if (added) {
            entry->second = device().newUniformLocation(name(), uniform);
        }
        location = entry->second;
    }
    device().record("GetUniformLocation",
                    name() + ".GetUniformLocation(\"" + (uniform ? uniform : "null") + "\") -> " +
                        std::to_string(location),
                    D3D_OK, true);
    return location;
}

std::optional<std::string> RecordingProgram::uniformName(INT location) const {
    for (const auto& [uniform, known] : locations_) {
        if (known == location) {
            return uniform;
        }
    }
    return std::nullopt;
}

std::optional<std::vector<float>> RecordingProgram::constantF(const std::string& uniform) const {
    const auto location = locations_.find(uniform);
    if (location == locations_.end()) {
        return std::nullopt;
    }
    const auto values = floats_.find(location->second);
    return values == floats_.end() ? std::nullopt : std::optional(values->second);
}

std::optional<std::vector<INT>> RecordingProgram::constantI(const std::string& uniform) const {
    const auto location = locations_.find(uniform);
    if (location == locations_.end()) {
        return std::nullopt;
    }
    const auto values = ints_.find(location->second);
    return values == ints_.end() ? std::nullopt : std::optional(values->second);
}
