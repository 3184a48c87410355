#pragma once
// Page 2: the eight sensitivity levels with their steps, colours and the current level.
#include "app/window_page.h"

namespace kvr {

class SensitivityModel;

class AdvancedPage final : public WindowPage {
    Q_OBJECT
public:
    AdvancedPage(PageHost& host, SensitivityModel& sensitivity);

    void render() override;

private:
    SensitivityModel& sensitivity_;
};

}  // namespace kvr
