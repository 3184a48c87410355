#pragma once
// Moving the settings between DataBuf and the page models: what a read shows on the pages, and
// what the pages give back to DataBuf before a write or a profile save.
#include <functional>

#include "buttons/button_model.h"
#include "buttons/button_names.h"
#include "params/data_buf.h"
#include "params/device_images.h"
#include "settings/light_model.h"
#include "settings/sensitivity_model.h"

namespace kvr {

struct PageModels {
    SensitivityModel& sensitivity;
    LightModel& light;
    ButtonModel& buttons;
};

// The window's part of a refresh: redraw the page background and tabs, check rb_1, show page 1
// and hide pages 2 to 4. Runs after the fire-key fields and before the button captions.
using ShowFirstPage = std::function<void()>;

// Copies the images of the connected variant into DataBuf, repairs what fails its checks, builds
// the code texts and refreshes the pages. With variant 0 no parameter bytes are copied: the
// shared tail keeps what DataBuf held and is only checked; the profile is copied as always.
void DataBufToUI(const DeviceImages& images, int deviceVariant, DataBuf& data, PageModels pages,
                 const CodeNaming& naming, const ShowFirstPage& showFirstPage = {});

// Sets the page models from DataBuf; steps that depend on the variant are skipped for variant 0.
void RefreshUI(const DataBuf& data, int deviceVariant, PageModels pages, const CodeNaming& naming,
               const ShowFirstPage& showFirstPage = {});

// Every numeric field of the pages through its exit rule, so that a write never sees an empty
// or unreadable field.
void commitPageEdits(PageModels pages);

// Writes the state of the pages into DataBuf, after committing their fields. Leaves the checksums
// and the profile section alone; bits of ConfigFlags no choice owns are carried.
void UIToDataBuf(PageModels pages, int deviceVariant, DataBuf& data);

// Gives every fire-key button the repeat count and fire time of the fire-key fields, in DataBuf
// and in its code text; the fields are committed first.
void FireKeyAndFireKeyModeToDataBuf(ButtonModel& buttons, DataBuf& data);

// Shows the repeat count and fire time of the last fire-key button in the fire-key fields; with
// no fire-key button they keep their texts.
void RefreshFireKeyMode(ButtonModel& buttons);

// Each button label shows the name of its button's function.
void RefreshProfileKeys(ButtonModel& buttons, const CodeNaming& naming);

}  // namespace kvr
