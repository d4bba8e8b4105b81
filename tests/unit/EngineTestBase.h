// For tests of engine code that draws: a recording device installed as the engine's device, a
// viewport stack over it made current, and a clean slate afterwards (effects, textures and
// render targets released, the context without a device again).
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "gfx/EffectHandler.h"
#include "gfx/GraphicsContext.h"
#include "gfx/ViewportStack.h"
#include "platform/d3d9/recording/RecordingDevice.h"
#include "platform/d3d9/recording/RecordingSurface.h"

#include <unistd.h>

class EngineTestBase : public testing::Test {
protected:
    void SetUp() override {
        device = new RecordingDevice();
        kelvo::GraphicsContext::instance().device = device;
        viewports.setDeviceProvider([this]() -> IDirect3DDevice9* { return device; });
        kelvo::ViewportStack::makeCurrent(&viewports);
    }

    void TearDown() override {
        kelvo::EffectHandler::destroyInstance();
        kelvo::GraphicsContext& context = kelvo::GraphicsContext::instance();
        context.releaseResources();
        if (context.device != nullptr) {
            context.device = nullptr;
            device->Release();
        }
        kelvo::ViewportStack::makeCurrent(nullptr);
    }

    // Writes a data file under a directory of this test and returns its absolute name, which
    // the data file cache opens as it is.
    std::string writeDataFile(const std::string& name, const std::string& bytes) {
        const auto directory = std::filesystem::path(testing::TempDir()) /
                               ("kelvo_engine_tests_" + std::to_string(getpid()));
        std::filesystem::create_directories(directory);
        const auto path = directory / name;
        std::ofstream(path, std::ios::binary) << bytes;
        return path.string();
    }

    RecordingDevice* device = nullptr;
    kelvo::ViewportStack viewports;
};
