#include "panels/UiGdkKeymap.h"

#include <gdk/gdk.h>
#ifdef GDK_WINDOWING_X11
#include <gdk/gdkx.h>
#include <X11/XKBlib.h>
#endif

namespace {

int activeGroup(GdkDisplay* display)
{
#ifdef GDK_WINDOWING_X11
    if (GDK_IS_X11_DISPLAY(display)) {
        XkbStateRec state;
        if (XkbGetState(GDK_DISPLAY_XDISPLAY(display), XkbUseCoreKbd, &state) == Success)
            return state.group;
    }
#endif
    return 0;
}

std::function<void()>& changedCallback()
{
    static std::function<void()> callback;
    return callback;
}

void keymapChanged(GdkKeymap*, gpointer)
{
    if (changedCallback())
        changedCallback()();
}

}  // namespace

char32_t UiGdkKeymap::upperCharacterAt(unsigned hardwareKeycode)
{
    GdkDisplay* display = gdk_display_get_default();
    if (!display)
        return 0;
    GdkKeymap* keymap = gdk_keymap_get_for_display(display);
    GdkKeymapKey* keys = nullptr;
    guint* keyvals = nullptr;
    gint count = 0;
    if (!keymap || !gdk_keymap_get_entries_for_keycode(keymap, hardwareKeycode, &keys, &keyvals, &count))
        return 0;
    const int group = activeGroup(display);
    guint inGroup = 0;
    guint inFirstGroup = 0;
    for (gint i = 0; i < count; ++i) {
        if (keys[i].level != 0)
            continue;
        if (keys[i].group == group && !inGroup)
            inGroup = keyvals[i];
        if (keys[i].group == 0 && !inFirstGroup)
            inFirstGroup = keyvals[i];
    }
    g_free(keys);
    g_free(keyvals);
    const guint keyval = inGroup ? inGroup : inFirstGroup;
    return keyval ? char32_t(gdk_keyval_to_unicode(gdk_keyval_to_upper(keyval))) : 0;
}

void UiGdkKeymap::watch(std::function<void()> changed)
{
    static bool connected = false;
    changedCallback() = std::move(changed);
    GdkDisplay* display = gdk_display_get_default();
    if (connected || !display)
        return;
    GdkKeymap* keymap = gdk_keymap_get_for_display(display);
    if (!keymap)
        return;
    // A group switch on X tells only through the direction and state
    // signals; re-reading on each costs two look-ups.
    g_signal_connect(keymap, "keys-changed", G_CALLBACK(keymapChanged), nullptr);
    g_signal_connect(keymap, "direction-changed", G_CALLBACK(keymapChanged), nullptr);
    g_signal_connect(keymap, "state-changed", G_CALLBACK(keymapChanged), nullptr);
    connected = true;
}
