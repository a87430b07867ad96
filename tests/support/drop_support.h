#pragma once

#include <windows.h>

#include <string>
#include <vector>

// Shell drops made by hand: a DROPFILES block in movable global memory laid out as the shell
// hands one over (fWide TRUE: UTF-16 names from the UTF-8 paths, each zero-terminated, one more zero at the end;
// the point in the receiving window's client pixels), posted as WM_DROPFILES to a real window.
// The receiver owns the block and releases it with DragFinish.
namespace droptest {

// Null when the memory cannot be had.
HGLOBAL MakeDropBlock(const std::vector<std::string>& files, POINT pt);

// Posts the drop and returns at once; the block is then the receiver's. Null on failure.
HGLOBAL PostDrop(HWND window, const std::vector<std::string>& files, POINT pt);

// Posts the drop and lets queued messages run (the application's pump) until the receiver has
// released the block. False when it was never released.
bool DropFiles(HWND window, const std::vector<std::string>& files, POINT pt);

// True while the block has not been released.
bool DropBlockAlive(HGLOBAL block);

// Lets every queued message run once, through the application's pump.
void PumpMessages();

}  // namespace droptest
