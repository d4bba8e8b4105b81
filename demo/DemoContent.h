// The production: built once while the loading screen spins, then given every frame's music
// time. Construction loads every image, the model and the effects the show would otherwise
// create mid-frame; update steers the camera of the current part, places the model, moves the
// lights and has the stage compose the frame with the tube background and the overlays.
#pragma once

#include <memory>

#include "demo/CameraRig.h"
#include "demo/IFrameContent.h"
#include "demo/Stage.h"
#include "gfx/INode.h"
#include "gfx/ModelImporter.h"

class DemoContent final : public IFrameContent {
public:
    // Reads the images through the data file cache and the model through the importer; a missing
    // one is reported and leaves its texture empty or the model an empty group, and the show goes
    // on without it.
    DemoContent();
    // Forgets the production images it loaded (see forgetProductionImages).
    ~DemoContent() override;

    // One frame at music time t (g_demoSeconds), in part g_demoPart, between the frame loop's
    // clear and present.
    void update(float t) override;

    int lastPart = 0;
    std::unique_ptr<Stage> stage;
    // The imported model's root: an empty group when the model could not be read.
    kelvo::INode* model = nullptr;
    CameraRig rig;
    // Keeps the model's meshes, materials and nodes for the life of the content.
    std::unique_ptr<kelvo::ModelImporter> importer;

private:
    void steerCamera(int part, float t);
    void publishInverseView();
    void flickerLights();
};

// The content the loading phase built; null before.
extern DemoContent* g_content;
