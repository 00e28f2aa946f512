// TSprite: a node of the scene tree. Every drawn or moving object of the game is one;
// the tree owns its nodes and keeps each node's children sorted by depth for drawing.
#pragma once

#include <vector>

#include "engine/Geometry.h"

namespace quillon {

class TSpriteEngine;

class TSprite {
public:
    // With a parent the sprite joins the parent's children and belongs to the tree, which
    // deletes it, so such sprites are made with new; the engine itself has no parent.
    explicit TSprite(TSprite* parent);
    virtual ~TSprite();
    TSprite(const TSprite&) = delete;
    TSprite& operator=(const TSprite&) = delete;

    virtual void DrawSelf() {}
    virtual void MoveSelf(int moveCount) { (void)moveCount; }
    virtual TRect GetBounds() const;  // on the surface, used for culling

    void Move(int moveCount);  // MoveSelf, then the children in insertion order
    void Draw();               // DrawSelf when on the surface, then the children by ascending Z
    // The visible descendant with the highest Z whose rectangle (edges included) holds the
    // point; (x, y) are in the coordinates of this sprite's parent.
    TSprite* SpriteAt(int x, int y);

    void Clear();  // destroys the children, last first
    int Count() const { return static_cast<int>(FChildren.size()); }
    TSprite* Items(int index) const;  // in insertion order

    // Queues the sprite for the engine's next FreeDead; it keeps moving and drawing until then.
    void MarkDead();
    bool DeadMarked() const { return FDeadMarked; }

    int Z() const { return FZ; }
    void SetZ(int value);

    double AbsoluteX() const;
    double AbsoluteY() const;

    TSpriteEngine* Engine() const { return FEngine; }
    TSprite* Parent() const { return FParent; }

    bool Visible = true;
    double X = 0;
    double Y = 0;
    int Width = 0;
    int Height = 0;

private:
    void AddChild(TSprite* child);
    void RemoveChild(TSprite* child);
    void InsertByZ(TSprite* child);
    void TestHit(double px, double py, TSprite*& result);

    TSpriteEngine* FEngine = nullptr;
    TSprite* FParent = nullptr;
    std::vector<TSprite*> FChildren;   // owned, in insertion order
    std::vector<TSprite*> FDrawOrder;  // the same sprites by ascending Z
    bool FDeadMarked = false;
    int FZ = 0;
};

}  // namespace quillon
