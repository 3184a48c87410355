#pragma once
// What the layout and language apply need from the window. The apply is plain code that a test
// drives with a recording fake; the window implements these on its controls, found by name
// (every name used is in layoutControls(), layout_controls.h). Coordinates are in the client
// area of the control's container: its page, or its group on the macro page.
#include <span>
#include <string>
#include <string_view>

#include "base/ini_reader.h"

namespace kvr {

struct PictureSize {
    int width = 0;
    int height = 0;
    friend bool operator==(PictureSize, PictureSize) = default;
};

class LayoutTarget {
public:
    virtual ~LayoutTarget() = default;

    // Puts the built-in picture `picture` into the image control `image`, which takes the
    // picture's size; false when the picture is missing or cannot be decoded.
    virtual bool loadPicture(std::string_view image, std::string_view picture) = 0;
    // The size of an image control, that is of its picture; 0 x 0 without one.
    virtual PictureSize imageSize(std::string_view image) const = 0;

    virtual void move(std::string_view control, int left, int top) = 0;
    virtual void setGeometry(std::string_view control, int left, int top, int width,
                             int height) = 0;
    virtual void setVisible(std::string_view control, bool visible) = 0;
    virtual void setFontSize(std::string_view control, int points) = 0;
    virtual void setFontColour(std::string_view control, Colour colour) = 0;
    virtual void setBackColour(std::string_view control, Colour colour) = 0;
    virtual void setBorderColour(std::string_view control, Colour colour) = 0;
};

class CaptionTarget {
public:
    virtual ~CaptionTarget() = default;

    // Texts are UTF-8.
    virtual std::string caption(std::string_view control) const = 0;
    virtual void setCaption(std::string_view control, std::string_view text) = 0;
    // Replaces the entries of a choice list in place; the list may lose its selection.
    virtual void setEntries(std::string_view control, std::span<const std::string> entries) = 0;
};

// The rest of the window that a language switch touches.
class WindowTarget : public LayoutTarget, public CaptionTarget {
public:
    // The page now shown, 1..4.
    virtual int currentPage() const = 0;
    // Marks language n (1..3) as the current one, whose button keeps its selected picture.
    virtual void markCurrentLanguage(int n) = 0;
    // The selected entry of a choice list (-1 for none), and selecting it again.
    virtual int selectedEntry(std::string_view control) const = 0;
    virtual void selectEntry(std::string_view control, int index) = 0;
    virtual void setApplicationTitle(std::string_view title) = 0;
    // Shows the current page again, with the delay or insert group of the macro page.
    virtual void RefreshAPPage() = 0;
    // Restarts the hover of the caption label `label`: no ticks yet, and `caption` both saved
    // and running, so that the pointer leaving the label restores it.
    virtual void resetHover(std::string_view label, std::string_view caption) = 0;
};

}  // namespace kvr
