// A window that prints: it builds its whole document on the page control it
// is given, so that a preview and a print of the same choices are alike.
#pragma once

namespace vbqt {
class PageTarget;
}

namespace reports {

class IPrintForm {
public:
    virtual ~IPrintForm() = default;
    // Starts the document on target, draws every page and ends it; mode is
    // the owner's (the print dialog's report style), which it may ignore.
    // False when a failure was told on the way: the target then holds only
    // the pages drawn before it.
    virtual bool psub_Print(vbqt::PageTarget& target, int mode) = 0;
};

}  // namespace reports
