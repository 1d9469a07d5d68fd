#include "ui/key_bindings.h"

const TKeyBinding* BoardKeyBinding(QKeyCombination keys) {
    const QKeyCombination plain(keys.keyboardModifiers() & ~Qt::KeypadModifier, keys.key());
    for (const TKeyBinding& binding : kKeyBindings) {
        if (binding.scope == TKeyScope::Board && binding.keys == plain) return &binding;
    }
    return nullptr;
}
