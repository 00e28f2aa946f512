// TDXImageList: the image collection component. Owns a TPictureCollection and keeps
// its surfaces in step with the display: initialise, finalise and restore follow
// the display's notifications.
#pragma once

#include <string>

#include "engine/DXDraw.h"
#include "engine/PictureCollection.h"

namespace quillon {

class TDXImageList : public IDXDrawListener {
public:
    TDXImageList() : FItems(this) {}
    ~TDXImageList() override;
    TDXImageList(const TDXImageList&) = delete;
    TDXImageList& operator=(const TDXImageList&) = delete;

    TPictureCollection& Items() { return FItems; }
    const TPictureCollection& Items() const { return FItems; }

    // Registers with the display; a display that is already up is joined at once.
    void SetDXDraw(TDXDraw* dxdraw);
    TDXDraw* DXDraw() const { return FDXDraw; }

    void LoadFromFile(const std::string& fileName) { FItems.LoadFromFile(fileName); }

    void DXDrawNotify(TDXDraw& sender, TDXDrawNotifyType type) override;

private:
    TDXDraw* FDXDraw = nullptr;
    TPictureCollection FItems;
};

}  // namespace quillon
