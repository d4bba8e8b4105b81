// Model files from untrusted bytes: the import into meshes, materials and nodes on the recording
// device must take what it can read and report the rest, never crash.
#include <cstddef>
#include <cstdint>

#include "gfx/GraphicsContext.h"
#include "gfx/ModelImporter.h"
#include "platform/d3d9/recording/RecordingDevice.h"
#include "platform/os/AssertionCapture.h"
#include "platform/os/MessageBoxCapture.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static RecordingDevice* device = [] {
        auto* made = new RecordingDevice();
        kelvo::GraphicsContext::instance().device = made;
        return made;
    }();
    (void)device;
    os::MessageBoxCapture boxes;
    os::AssertionCapture reports;
    {
        kelvo::ModelImporter importer;
        importer.loadFromMemory(data, size, "3ds", kelvo::Matrix::identity());
    }
    kelvo::GraphicsContext::instance().releaseResources();
    return 0;
}
