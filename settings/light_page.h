#pragma once
// Page 3: the breathing light's choices and times, in the control set the mouse's light type
// offers.
#include "app/window_page.h"

namespace kvr {

class LightModel;

class LightPage final : public WindowPage {
    Q_OBJECT
public:
    LightPage(PageHost& host, LightModel& light);

    void render() override;
    void deviceLost() override;

private:
    void showChoice(const QString& name, bool shown, bool chosen);

    LightModel& light_;
};

}  // namespace kvr
