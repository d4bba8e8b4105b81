#include "gfx/INode.h"

#include <algorithm>

#include "gfx/Bone.h"
#include "gfx/FatalError.h"
#include "gfx/Mesh.h"

namespace kelvo {

namespace {

// A child added twice is detached once: its first removeParent already takes out every entry
// of this parent, and a second call would report a parent the child no longer lists.
void detachChildren(INode* node) {
    std::vector<INode*> detached;
    for (INode* child : node->children) {
        if (std::find(detached.begin(), detached.end(), child) != detached.end()) {
            continue;
        }
        detached.push_back(child);
        removeParent(child, node);
    }
}

}  // namespace

INode::~INode() {
    detachChildren(this);
}

std::size_t addChild(INode* parent, INode* child) {
    child->parents.push_back(parent);
    parent->children.push_back(child);
    const std::size_t position = parent->children.size() - 1;
    parent->childPosition[child] = position;
    return position;
}

void removeParent(INode* child, INode* parent) {
    auto& parents = child->parents;
    if (std::find(parents.begin(), parents.end(), parent) == parents.end()) {
        fatalError(71);
        return;
    }
    parents.erase(std::remove(parents.begin(), parents.end(), parent), parents.end());
}

void removeAllChildren(INode* node) {
    detachChildren(node);
    node->children.clear();
}

bool reachesByFirstChild(const INode* node, const INode* target) {
    for (const INode* step = node; !step->children.empty();) {
        step = step->children.front();
        if (step == target) {
            return true;
        }
    }
    return false;
}

void collectBones(const INode* node, std::vector<Bone*>& bones) {
    for (INode* child : node->children) {
        if (dynamic_cast<Mesh*>(child) != nullptr) {
            continue;
        }
        if (auto* bone = dynamic_cast<Bone*>(child)) {
            bones.push_back(bone);
        }
        collectBones(child, bones);
    }
}

}  // namespace kelvo
