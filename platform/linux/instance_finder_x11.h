#pragma once
// X11: the running program is found by its top-level window's name.
#include "gui/instance_finder.h"

namespace kvr {

class X11InstanceFinder final : public InstanceFinder {
public:
    bool raiseExisting(const QString& title) override;
    void announce(QWidget*, const QString&) override {}
};

}  // namespace kvr
