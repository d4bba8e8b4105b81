// The node core of the scene graph. Nodes form a directed acyclic graph: a node lists its
// children (in the order they were added, duplicates allowed) and, separately, every node that
// holds it as a child, so one mesh can hang below several instances. The graph holds plain
// pointers; whoever creates a node owns it.
//
// World transforms follow the row-vector convention: a node's world is its localTransform x the
// world of the parent through which a walk reached it, so a node below two parents has two.
// Walks iterate over `children` by position; a node must never be its own descendant.
//
// Destroying a node detaches it from its children (they stay alive) but not from its parents:
// whoever destroys a node first removes it from its parents.
#pragma once

#include <cstddef>
#include <map>
#include <string>
#include <vector>

#include "gfx/Matrix.h"

namespace kelvo {

class Bone;

class INode {
public:
    INode() = default;
    virtual ~INode();
    INode(const INode&) = delete;
    INode& operator=(const INode&) = delete;

    // Only nodes that draw themselves (mesh instances) answer true.
    virtual bool isRenderable() const { return false; }

    // Not owned, in the order of addChild; a child added twice is listed twice.
    std::vector<INode*> children;
    // One entry per addChild that made this node a child.
    std::vector<INode*> parents;
    // Each child's position in `children`, from its most recent addition; kept when children
    // are removed.
    std::map<const INode*, std::size_t> childPosition;
    std::string name;
    Matrix localTransform = Matrix::identity();
};

// Appends parent to child's parents and child to parent's children; returns the child's new
// position in parent's children.
std::size_t addChild(INode* parent, INode* child);

// Removes every occurrence of parent from child's parents. A parent the child does not list is
// fatal error 71 and changes nothing. The parent's `children` list is left as it is.
void removeParent(INode* child, INode* parent);

// removeParent(child, node) for each child in order, then empties node's children.
void removeAllChildren(INode* node);

// Follows first children from node; true when that chain arrives at target (node itself is not
// compared), false when it ends at a node without children.
bool reachesByFirstChild(const INode* node, const INode* target);

// Appends the bones among node's descendants, depth first in child order, a bone before its own
// descendants. The walk does not enter Mesh nodes below node.
void collectBones(const INode* node, std::vector<Bone*>& bones);

}  // namespace kelvo
