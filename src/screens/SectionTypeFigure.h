// The section-type picture window: the six section types with the names of
// their dimensions P1 to P5.
#pragma once

#include "platform/Forms.h"

#include <QPixmap>

class frm部材形状図 : public forms::Form {
public:
    frm部材形状図();

protected:
    void Form_Load() override;
};

// The picture of section type 1 to 6 (95 by 95 pixels).
QPixmap SectionTypePicture(int type);
