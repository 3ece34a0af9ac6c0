#pragma once

#include <string>
#include <vector>

// The gain entry window as the mixer and bass-management panels use it: a
// register of one to eight 32-bit gain words opened for editing, with the
// clicked word ready for typing. The window itself lives with the tool
// windows; the panels only see this.
class IGainEntry {
public:
    virtual ~IGainEntry() = default;
    // Rows in use (1, 2, 3 or 8) and whether the 2-row toggle button shows.
    virtual void SetGainLayout(int rows, bool toggle) = 0;
    // Every row's forced top nibble back to none.
    virtual void ClearRowModes() = 0;
    // Row 1..3 of an output-mixer register: the source combo's item (0..3)
    // decides the code forced into bits 31:28 of that row's word.
    virtual void SetRowMode(int row, int selectionIndex) = 0;
    // Loads the register's words from the register table into rows
    // 1..descriptions.size() and shows the window (or raises it).
    virtual void ShowGainWindow(int subAddress, int rows, const std::vector<std::string>& descriptions) = 0;
    // Gives the row's decimal edit the focus with its whole text selected.
    virtual void FocusRow(int row) = 0;
};
