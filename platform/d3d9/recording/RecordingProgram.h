// A GLSL program of the recording device. It keeps its two sources, hands out a location per
// distinct uniform name (unique across all programs of the device, so a location used with the
// wrong program is caught) and remembers the constants set through the device.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/d3d9/d3d9.h"
#include "platform/d3d9/recording/RecordingObject.h"

class RecordingProgram final : public IDirect3DProgram9, public RecordingObject {
public:
    RecordingProgram(RecordingDevice& device, std::string name, std::string vertexSource,
                     std::string fragmentSource);

    ULONG AddRef() override { return addRef(); }
    ULONG Release() override { return release(); }
    INT GetUniformLocation(const char* name) override;

    const std::string& vertexSource() const { return vertexSource_; }
    const std::string& fragmentSource() const { return fragmentSource_; }
    // The uniform a location of this program stands for; empty for foreign locations.
    std::optional<std::string> uniformName(INT location) const;

    void storeF(INT location, std::vector<float> values) { floats_[location] = std::move(values); }
    void storeI(INT location, std::vector<INT> values) { ints_[location] = std::move(values); }
    // The values last set for a uniform of this program.
    std::optional<std::vector<float>> constantF(const std::string& uniform) const;
    std::optional<std::vector<INT>> constantI(const std::string& uniform) const;

private:
    std::string vertexSource_;
    std::string fragmentSource_;
    std::map<std::string, INT> locations_;
    std::map<INT, std::vector<float>> floats_;
    std::map<INT, std::vector<INT>> ints_;
};
