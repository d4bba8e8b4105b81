#include <gtest/gtest.h>

#include <vector>

#include "gfx/Bone.h"
#include "gfx/DummyNode.h"
#include "gfx/Mesh.h"
#include "gfx/MeshInstance.h"
#include "gfx/NodePointlight.h"
#include "platform/os/MessageBoxCapture.h"

using kelvo::addChild;
using kelvo::Bone;
using kelvo::DummyNode;
using kelvo::INode;
using kelvo::Mesh;

namespace {

const os::MessageBoxRecord kError71{"Kelvo error", "Unexpected fatal error(#71)."};

class SceneNodeTest : public testing::Test {
protected:
    os::MessageBoxCapture reports;
    // The child is declared first so that it outlives the parent: a node is destroyed only
    // once no parent lists it any more.
    DummyNode child;
    DummyNode parent;
};

}  // namespace

TEST_F(SceneNodeTest, AChildAddedTwiceIsListedTwiceAndDetachedAtOnce) {
    DummyNode other;
    EXPECT_EQ(addChild(&parent, &child), 0u);
    EXPECT_EQ(addChild(&parent, &other), 1u);
    EXPECT_EQ(addChild(&parent, &child), 2u);
    EXPECT_EQ(parent.children, (std::vector<INode*>{&child, &other, &child}));
    EXPECT_EQ(child.parents, (std::vector<INode*>{&parent, &parent}));
    EXPECT_EQ(parent.childPosition.at(&child), 2u);

    kelvo::removeParent(&child, &parent);
    EXPECT_TRUE(child.parents.empty());
    EXPECT_EQ(parent.children.size(), 3u) << "the parent's own list is not touched";
    EXPECT_EQ(reports.count(), 0u);
    kelvo::removeAllChildren(&parent);
}

TEST_F(SceneNodeTest, RemovingAParentTheChildDoesNotListIsError71AndChangesNothing) {
    DummyNode stranger;
    addChild(&parent, &child);
    kelvo::removeParent(&child, &stranger);
    EXPECT_EQ(reports.records(), std::vector<os::MessageBoxRecord>{kError71});
    EXPECT_EQ(child.parents, std::vector<INode*>{&parent});
}

TEST_F(SceneNodeTest, DetachingAllChildrenOrDestroyingAParentLeavesChildrenAliveAndUnlisted) {
    DummyNode other;
    addChild(&parent, &child);
    addChild(&parent, &child);
    addChild(&parent, &other);
    kelvo::removeAllChildren(&parent);
    EXPECT_TRUE(parent.children.empty());
    EXPECT_EQ(parent.childPosition.size(), 2u) << "positions outlive the children";
    EXPECT_TRUE(child.parents.empty());
    EXPECT_TRUE(other.parents.empty());

    {
        DummyNode shortLived;
        addChild(&shortLived, &child);
        addChild(&shortLived, &child);
        addChild(&other, &child);
    }
    EXPECT_EQ(child.parents, std::vector<INode*>{&other});
    EXPECT_EQ(reports.count(), 0u) << "a child listed twice is detached once";
    kelvo::removeAllChildren(&other);
}

TEST_F(SceneNodeTest, ReachesByFirstChildFollowsOnlyFirstChildren) {
    DummyNode second;
    DummyNode deep;
    EXPECT_FALSE(kelvo::reachesByFirstChild(&parent, &parent)) << "no children: false";
    addChild(&parent, &child);
    addChild(&parent, &second);
    addChild(&child, &deep);
    EXPECT_TRUE(kelvo::reachesByFirstChild(&parent, &deep));
    EXPECT_FALSE(kelvo::reachesByFirstChild(&parent, &second));
    kelvo::removeAllChildren(&parent);
    kelvo::removeAllChildren(&child);
}

TEST_F(SceneNodeTest, CollectBonesWalksDepthFirstButNotIntoNestedMeshes) {
    Mesh mesh;
    Bone upper;
    Bone lower;
    Mesh nested;
    Bone hidden;
    DummyNode group;
    Bone grouped;
    addChild(&mesh, &upper);
    addChild(&upper, &lower);
    addChild(&mesh, &nested);
    addChild(&nested, &hidden);
    addChild(&mesh, &group);
    addChild(&group, &grouped);

    std::vector<Bone*> bones;
    kelvo::collectBones(&mesh, bones);
    EXPECT_EQ(bones, (std::vector<Bone*>{&upper, &lower, &grouped}));
    for (INode* node : std::vector<INode*>{&mesh, &upper, &nested, &group}) {
        kelvo::removeAllChildren(node);
    }
}

TEST_F(SceneNodeTest, PointLightSitsAtItsTranslationWithFullIntensity) {
    const kelvo::NodePointlight light(1, 2, 3, 0.1f, 0.01f, 0.5f, {1, 0.5f, 0.25f, 1});
    EXPECT_EQ(light.localTransform(3, 0), 1.0f);
    EXPECT_EQ(light.localTransform(3, 2), 3.0f);
    EXPECT_EQ(light.localTransform(0, 0), 1.0f);
    EXPECT_EQ(light.intensity, 1.0f);
    EXPECT_EQ(light.attConst, 0.5f);
    EXPECT_EQ(light.attLin, 0.1f);
    EXPECT_EQ(light.attQuad, 0.01f);
}

TEST_F(SceneNodeTest, AnInstanceWithoutAMeshHasAnEmptyBox) {
    kelvo::MeshInstance instance;
    const float* box = instance.boundingBox();
    EXPECT_GT(box[0], box[3]);
    addChild(&instance, &child);
    box = instance.boundingBox();
    EXPECT_GT(box[2], box[5]);
    kelvo::removeAllChildren(&instance);
}
