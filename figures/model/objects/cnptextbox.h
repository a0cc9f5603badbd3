#pragma once

#include "figures/model/objects/crectcom.h"

#include <string>
#include <vector>

namespace figures {

// A rectangle that carries lines of text and margins. The text travels with the
// document but is not drawn.
class CNPTextBox : public CRectCom {
public:
    static constexpr int32_t kTypeId = TID_TEXT_BOX;
    static constexpr uint32_t kInitialFlags = 0x3E;

    CNPTextBox() { flags = kInitialFlags; }

    int32_t TypeId() const override { return kTypeId; }
    std::string_view ClassName() const override { return "CNPTextBox"; }
    std::string TypeName() const override { return "简单文本框"; }
    void Serialize(CArchive& ar) override;

    std::vector<std::string> lines; // GBK
    Rect margins{10, 10, 10, 10};   // left, top, right, bottom insets
};

} // namespace figures
