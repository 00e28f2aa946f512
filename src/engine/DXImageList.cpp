// TDXImageList: following the display's notifications.
#include "engine/DXImageList.h"

namespace quillon {

TDXImageList::~TDXImageList() {
    if (FDXDraw) FDXDraw->RemoveListener(this);
}

void TDXImageList::SetDXDraw(TDXDraw* dxdraw) {
    if (FDXDraw == dxdraw) return;
    if (FDXDraw) {
        FDXDraw->RemoveListener(this);
        FItems.Finalize();
    }
    FDXDraw = dxdraw;
    if (FDXDraw) {
        FDXDraw->AddListener(this);
        if (FDXDraw->Initialized()) DXDrawNotify(*FDXDraw, TDXDrawNotifyType::Initialize);
    }
}

void TDXImageList::DXDrawNotify(TDXDraw& sender, TDXDrawNotifyType type) {
    switch (type) {
        case TDXDrawNotifyType::Destroying:
            FItems.Finalize();
            FDXDraw = nullptr;
            break;
        case TDXDrawNotifyType::Initialize:
            // The display sends no separate restore after making its surfaces, so
            // the pictures are uploaded here.
            FItems.Initialize(sender);
            FItems.Restore();
            break;
        case TDXDrawNotifyType::Finalize:
            FItems.Finalize();
            break;
        case TDXDrawNotifyType::Restore:
            FItems.Restore();
            break;
        case TDXDrawNotifyType::Initializing:
            break;
    }
}

}  // namespace quillon
