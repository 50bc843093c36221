#pragma once

#include <span>

// A dialog as the Windows resource script (Tarnel.rc) lays it out, for the front-ends that
// build it themselves: controls in tab order, positions in dialog units. Texts are UTF-8 in
// every build.
struct TemplateControl {
    // Each kind stands for one resource statement: PUSHBUTTON, an auto check box, an
    // EDITTEXT that scrolls sideways, LTEXT, GROUPBOX, DEFPUSHBUTTON.
    enum Kind { Button, CheckBox, Edit, Label, GroupBox, DefaultButton };
    int id;  // 0 for the unnamed labels
    const char* name;
    Kind kind;
    const char8_t* text;
    int x, y, width, height;
};

// The main dialog, IDD_MAIN.
inline constexpr const char8_t* kDialogCaption = u8"Tarnel";
inline constexpr int kDialogWidthUnits = 386;
inline constexpr int kDialogHeightUnits = 241;

std::span<const TemplateControl> dialogTemplate();
