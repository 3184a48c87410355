#pragma once
// The filter of the numeric edit boxes (fire-key fields, level colours, light times): only the
// digits and Backspace are typed into them.
#include <QString>

class QLineEdit;

namespace kvr {

// Edt_Repeat1KeyPress: whether a typed character passes. Keys that type no character (arrows,
// Delete, Tab) are not characters and are not filtered.
bool Edt_Repeat1KeyPress(QChar typed);

// Lets only digits and Backspace be typed into `field`; pasted or dropped text that is not all
// digits is refused as well, so the field never holds anything but a number.
void installDigitFilter(QLineEdit* field);

}  // namespace kvr
