#pragma once
// The settings of a window's common dialog (file open/save, print): filter, chosen file name and
// flags. Showing the dialog is the platform's part (engine::Dialogs); this holds what the
// program sets before and reads after.
#include "vigil/forms/control.h"

#include <string>

namespace vigil::forms {

class CommonDialog : public Control {
public:
    explicit CommonDialog(std::string name, std::string filter = {})
        : Control(std::move(name)), filter_(std::move(filter)) {
        SetVisible(false);
    }

    const std::string& Filter() const { return filter_; } // "Description|*.ext|..."
    void SetFilter(const std::string& filter) { filter_ = filter; }
    const std::string& FileName() const { return fileName_; }
    void SetFileName(const std::string& fileName) { fileName_ = fileName; }
    unsigned Flags() const { return flags_; }
    void SetFlags(unsigned flags) { flags_ = flags; }

private:
    std::string filter_;
    std::string fileName_;
    unsigned flags_ = 0;
};

} // namespace vigil::forms
