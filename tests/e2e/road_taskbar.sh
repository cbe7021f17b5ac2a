#!/usr/bin/env bash
# The Windows shell's taskbar, in wine's virtual desktop with the shell on 1024 × 768: there before the
# menu starts; hidden while the menu runs in window mode with the taskbar setting off; shown and hidden
# again by the drawer's taskbar row; there again once the close button has ended the menu.
. "$(dirname "${BASH_SOURCE[0]}")/e2e_lib.sh"
[ "$e2e_system" = windows ] || { echo "FAIL: the taskbar road drives the Windows shell's taskbar"; exit 1; }

e2e_disc
e2e_xserver 1024x768
e2e_wine_shell_desktop 1024x768
# The taskbar runs along the desktop's bottom 20 lines; x 700 lies right of its task buttons. With the
# menu in window mode the desktop's own background shows at (700, 700), below the window.
taskbar_shown() { [ "$(px 700 758)" != "$(px 700 700)" ]; }
taskbar_hidden() { [ "$(px 700 758)" = "$(px 700 700)" ]; }
wait_until taskbar-before 30 taskbar_shown || fail "the shell's desktop shows no taskbar before the menu starts"
pass "the shell's taskbar stands along the desktop's bottom before the menu starts"

# The menu's windows are drawn inside the desktop's: it is seen by its pixels, not by an X window.
e2e_launch_menu "$(registry_content 0 1 0 tapeta.bmp 1)"
e2e_layout window
wait_for_intro
wait_until taskbar-hidden 10 taskbar_hidden || fail "the taskbar stays while the menu runs with the setting off"
pass "the menu with the taskbar setting off hides the taskbar"

open_drawer taskbar-drawer
toggle taskbar
wait_until taskbar-shown 10 taskbar_shown || fail "the drawer's taskbar row did not show the taskbar"
toggle taskbar
wait_until taskbar-hidden-again 10 taskbar_hidden || fail "the drawer's taskbar row did not hide the taskbar again"
pass "the drawer's taskbar row shows the taskbar and hides it again"

e2e_close_menu "$bar_x" "$bar_y" "$bar_w"
wait_until taskbar-after 10 taskbar_shown || fail "the taskbar did not come back when the menu ended"
pass "the taskbar is back once the menu has ended"
echo "OK"
