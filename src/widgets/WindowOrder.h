#pragma once

#include "platform/TopLevelWindows.h"

class QWidget;

namespace examora {

// The window's id as the window system knows it now, for the platform's window functions.
// Qt on X11 replaces the native window of a window whose top-most flag changed before it is
// mapped (some window managers read that flag only then), and QWidget::winId() may still
// name the window it replaced.
WindowId NativeWindowId(QWidget* window);

// The application's main window (the background window of a part). Screens that make "the
// application" topmost act on it.
void SetApplicationMainWindow(QWidget* window);
QWidget* ApplicationMainWindow();

// Keeps the window above all normal windows (or releases it). Works on hidden and visible
// windows; a visible window stays visible and keeps its position and size.
void SetTopMost(QWidget* window, bool on);

// Makes the window the foreground window once the window manager has put it on the screen:
// asked for earlier (in a show handler, before the map), the request concerns a window the
// window manager does not manage yet, and another program's window that came up meanwhile
// (the file manager of a folder just opened) keeps the keyboard. Nothing happens if the
// window is hidden or gone by then.
void ForegroundOnceShown(QWidget* window);

// What the on-top guards do at every tick: keeps the window above all normal windows and
// brings it to the top of the top-most ones, above another program's top-most window that
// came up over it. Nothing happens to a window that is not on the screen.
void RaiseAboveTopMost(QWidget* window);

// True when one of the window's owners, or the application's main window, is visible and kept
// above normal windows.
bool OwnersStayOnTop(const QWidget* window);

// Call before showing a window of ours (a screen, a dialog, a message box). Window managers
// keep top-most windows in a layer above all others and place a window relative to its owner
// only when that owner is visible; an earlier wizard step is hidden while the next one shows.
// So the window is tied to its nearest visible owner (else the main window) and, when an
// owner is top-most, made top-most too, so that it opens above the background and the exam
// window it belongs to. A window already top-most stays so.
void StackAboveOwners(QWidget* window);

// For a window of its own (no parent widget, a task-bar entry of its own) that still belongs to
// owner: it opens above owner and stays above it when owner is raised, as an owned window
// does. Call after the window's top-most flag is settled: changing the flag may re-create the
// native window, which forgets its owner.
void StackAbove(QWidget* window, QWidget* owner);

// For a window that belongs to a window now being shown. A window shown before its owner is
// on the screen is stacked by window managers as if it belonged to nothing, and ends up under
// its owner. ShowAfterOwner shows it once the owner is on the screen, so that it stays above
// the owner whenever the owner is raised; RaiseAfterOwner, for a window that had to be shown
// at once, tells the window system again whose window it is once the owner is on the screen,
// and raises it above the owner then and whenever the owner is activated later. Nothing
// happens if the window is gone by then.
void ShowAfterOwner(QWidget* window);
void RaiseAfterOwner(QWidget* window);

// For a window that should keep the keyboard while another window of ours opens beside it
// (a practice step and the practice window it opened): window systems give a newly shown
// window the focus, so once the other window has been activated the first time, the window is
// activated again. Nothing happens if the window is hidden or gone by then.
void ActivateAfterFirstActivationOf(QWidget* window, QWidget* other);

// Ends the run of every window that `owner` (or a window it opened) has open: the answer
// status confirmation, the notes cover and the notes inside it, a message. For an ending that
// does not ask, such as the forced end at the time limit: a window left on the screen would
// act on a part that has ended (a confirmation's "はい" would end it a second time). Each
// modal run returns Cancel to its caller once the stack unwinds to it.
void CloseOwnedWindows(QWidget* owner);

}  // namespace examora
