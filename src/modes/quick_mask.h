// Quick Mask mode: the selection becomes a red overlay channel every
// painting tool can edit, and the channel becomes the selection again on
// leaving. A 16-bit document is edited in an 8-bit working copy whose mask
// goes back to it on leaving. Also Transform Selection and Quick Mask
// Options.
#pragma once

#include <cstdint>

#include <windows.h>

// The dispatcher's toggle (the next Quick Mask command ends the mode); the
// menu item's check follows it.
extern bool QuickMaskActive;
// The last entry used the 8-bit working document.
extern bool SixteenBitQuickMask;
// The 16-bit notice has been shown in this run.
extern bool SixteenBitNoticeShown;

// The timer on the main window that closes the working document after
// leaving (editors before 11).
constexpr UINT_PTR kQuickMaskCloseTimer = 1001;
constexpr UINT kQuickMaskCloseDelay = 500;  // ms

// The channel and the working document, by the host's language.
const char* QuickMaskChannelName();
const char* QuickMaskDocumentTitle();

// The 16-bit document's title while its working document is open; null
// when no 16-bit mode is pending.
const char* SourceDocumentTitle();

// The named commands "Start Quick Mask" and "End Quick Mask": 0 when done,
// `intr` when they ended early (the host then drops their step).
std::int32_t EnterQuickMask();
std::int32_t LeaveQuickMask();
// True when the last LeaveQuickMask found nothing to carry back (no 16-bit
// mode pending, or its working document closed): the mode is over anyway.
bool QuickMaskLeftNothing();

// Sets the toggle and the check of the menu item together.
void SetQuickMaskActive(bool active);
// The host's channel options dialog for the quick-mask channel.
std::int32_t QuickMaskOptions();
// 1 when the selection was transformed, 0 when there was none to transform.
std::int32_t TransformSelection();

// Timer 1001 fired on the main window: closes the working document.
void OnQuickMaskCloseTimer(HWND window);

// Back to the state of a fresh run (start-up and shutdown).
void ResetQuickMask();
