// The entry of the sound module, which the program opens by this name (platform/CLazySound).
#include "gui/platform/QtSound.h"

extern "C" Q_DECL_EXPORT ISound* jotterly_make_sound() {
    return new QtSound;
}
