// TSprite: tree membership, depth order, the move and draw passes and the point query.
#include "engine/Sprite.h"

#include <algorithm>
#include <stdexcept>
#include <string>

#include "engine/Rounding.h"
#include "engine/SpriteEngine.h"
#include "engine/SpriteError.h"

namespace quillon {

TSprite::TSprite(TSprite* parent) : FParent(parent) {
    if (parent) {
        parent->AddChild(this);
        auto* engine = dynamic_cast<TSpriteEngine*>(parent);
        FEngine = engine ? engine : parent->FEngine;
    }
    Visible = true;
}

TSprite::~TSprite() {
    Clear();
    if (FParent) {
        FParent->RemoveChild(this);
        if (FEngine) {
            auto& queue = FEngine->FPendingFree;
            queue.erase(std::remove(queue.begin(), queue.end(), this), queue.end());
        }
    }
}

void TSprite::AddChild(TSprite* child) {
    FChildren.push_back(child);
    InsertByZ(child);
}

void TSprite::RemoveChild(TSprite* child) {
    FChildren.erase(std::remove(FChildren.begin(), FChildren.end(), child), FChildren.end());
    FDrawOrder.erase(std::remove(FDrawOrder.begin(), FDrawOrder.end(), child), FDrawOrder.end());
}

// Binary search for the first entry whose Z is not below the child's: a sprite goes in
// front of those with the same Z, so among equal Z the newest is drawn first (underneath).
void TSprite::InsertByZ(TSprite* child) {
    int lo = 0;
    int hi = static_cast<int>(FDrawOrder.size()) - 1;
    while (hi >= lo) {
        int mid = (lo + hi) / 2;
        if (FDrawOrder[mid]->FZ < child->FZ)
            lo = mid + 1;
        else
            hi = mid - 1;
    }
    FDrawOrder.insert(FDrawOrder.begin() + lo, child);
}

void TSprite::Clear() {
    while (!FChildren.empty()) delete FChildren.back();
}

TSprite* TSprite::Items(int index) const {
    if (FChildren.empty())
        throw ESpriteError("Index of the list exceeds the range. (" + std::to_string(index) + ")");
    if (index < 0 || index >= Count())
        throw std::out_of_range("List index out of bounds (" + std::to_string(index) + ")");
    return FChildren[index];
}

void TSprite::MarkDead() {
    if (!FEngine || FDeadMarked) return;
    FDeadMarked = true;
    FEngine->FPendingFree.push_back(this);
}

void TSprite::SetZ(int value) {
    if (value == FZ) return;
    FZ = value;
    if (FParent) {
        auto& order = FParent->FDrawOrder;
        order.erase(std::remove(order.begin(), order.end(), this), order.end());
        FParent->InsertByZ(this);
    }
}

double TSprite::AbsoluteX() const {
    return FParent ? X + FParent->AbsoluteX() : X;
}

double TSprite::AbsoluteY() const {
    return FParent ? Y + FParent->AbsoluteY() : Y;
}

TRect TSprite::GetBounds() const {
    int left = static_cast<int>(Round(AbsoluteX()));
    int top = static_cast<int>(Round(AbsoluteY()));
    return TRect{left, top, left + Width, top + Height};
}

// The child count is taken before the pass: sprites made while moving wait for the next
// frame. The bound is also checked against the live list so that a sprite destroyed
// during the pass cannot make the walk read past the end.
void TSprite::Move(int moveCount) {
    MoveSelf(moveCount);
    const size_t n = FChildren.size();
    for (size_t i = 0; i < n && i < FChildren.size(); ++i) FChildren[i]->Move(moveCount);
}

void TSprite::Draw() {
    if (!Visible) return;
    if (FEngine && OverlapsStrictly(GetBounds(), FEngine->SurfaceRect())) DrawSelf();
    // A culled parent still draws its children.
    const size_t n = FDrawOrder.size();
    for (size_t i = 0; i < n && i < FDrawOrder.size(); ++i) FDrawOrder[i]->Draw();
}

TSprite* TSprite::SpriteAt(int x, int y) {
    const double px = x - X;
    const double py = y - Y;
    TSprite* result = nullptr;
    for (TSprite* child : FChildren) child->TestHit(px, py, result);
    return result;
}

// Pre-order walk; an invisible sprite is not a hit but its children still may be.
void TSprite::TestHit(double px, double py, TSprite*& result) {
    if (Visible) {
        const int64_t hx = Round(px), hy = Round(py);
        const int64_t left = Round(X), top = Round(Y);
        if (hx >= left && hx <= left + Width && hy >= top && hy <= top + Height) {
            if (!result || result->FZ < FZ) result = this;
        }
    }
    for (TSprite* child : FChildren) child->TestHit(px - X, py - Y, result);
}

}  // namespace quillon
