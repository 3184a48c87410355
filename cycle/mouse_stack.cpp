#include "cycle/mouse_stack.h"

#include "base/resources.h"
#include "params/device_images.h"

namespace kvr {

namespace {

std::span<const std::uint8_t> builtInDefaultImage() {
    const auto image = findResource(kDefaultImageResource);
    return image ? *image : std::span<const std::uint8_t>();
}

}  // namespace

MouseStack::MouseStack(MouseStackUser user) : MouseStack(user, builtInDefaultImage()) {}

MouseStack::MouseStack(MouseStackUser user, std::span<const std::uint8_t> defaultImage)
    : defaultImage_(defaultImage),
      ui_(user.ui),
      link_(user.backend, user.pacer, user.presence),
      protocol_(link_, user.pacer),
      sensitivity_(user.texts),
      naming_{user.texts, {}},
      cycle_(defaultImage_, link_, protocol_, PageModels{sensitivity_, light_, buttons_}, naming_,
             user.ui),
      macros_(cycle_, buttons_, user.texts),
      profiles_(cycle_, [this] { macroAreaChanged(); }) {
    naming_.macroNameAt = macros_.macroNameAt();
    cycle_.setMacroAreaReader([this] { macros_.ReadAndRefreshMacro2(); });
    // The default image's header decides which mouse the link opens as the one to read.
    link_.setImageVariant(cycle_.imageVariant());
}

void MouseStack::macroAreaChanged() {
    macros_.ReadAndRefreshMacro2();
    ui_.refreshDeviceMacroList();
}

}  // namespace kvr
