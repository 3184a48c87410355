#pragma once
// The groups of pictures the generator draws. Each writes its pictures through the writer and
// returns false when one could not be written.
#include <QString>

#include "paint_kit.h"

namespace art {

bool makeBackgrounds(PictureWriter& out);     // L1_BackGround..L3_BackGround
bool makeMousePanels(PictureWriter& out);     // L1_Back1..L3_Back1
bool makePagePanels(PictureWriter& out);      // L1_Back2..L3_Back4, L1_Back3NT.. per light set
bool makeControls(PictureWriter& out);        // buttons, bars, ticks, insert bases, icons
bool makeDialogs(PictureWriter& out);         // name and key combination dialogs
bool makeBusyAnimation(const QString& path);  // the GIF of the busy window
// The application icon drawn at every hicolor size the package installs (16x16 .. 256x256).
bool makeDesktopIcons(PictureWriter& out);
// Mock-ups of every page at 800 x 600 and a contact sheet of all pictures, for review.
bool makePreview(const PictureWriter& out, const QString& folder);

}  // namespace art
