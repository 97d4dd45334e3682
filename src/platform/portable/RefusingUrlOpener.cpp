#include "platform/portable/RefusingUrlOpener.h"

namespace velawidget {

void RefusingUrlOpener::open(const std::string&, std::function<void(bool)> completion) {
    if (completion) completion(false);
}

}  // namespace velawidget
