#include "params/param_layout.h"

namespace kvr {

const ParamLayout* paramLayout(int variant) {
    switch (variant) {
        case 1:
            return &kParamLayoutV1;
        case 2:
            return &kParamLayoutV2;
        default:
            return nullptr;
    }
}

}  // namespace kvr
