#pragma once
// Every target a clean can clean, from the table: a check box for each (the same settings as the
// clean options' boxes, stored the moment it is clicked), and beside it what a clean now would
// free there, or why it would be skipped, worked out beside the windows target by target (the
// walk in hand counting as it goes).
#include <cstddef>
#include <memory>
#include <vector>

#include "screens/ScreenFrame.h"
#include "screens/TargetPreviews.h"

namespace screens {

class TargetsScreen : public Screen {
public:
    explicit TargetsScreen(const ScreenServices& services);
    ~TargetsScreen() override;

    forms::PictureBox sidePicture{*this, "Picture1"};
    forms::Label heading{*this, "HeadingLabel"};
    // One box and one line per target of the table, in table order (the tab order too).
    std::vector<std::unique_ptr<forms::CheckBox>> boxes;
    std::vector<std::unique_ptr<forms::Label>> amounts;
    forms::Label total{*this, "TotalLabel"};

    void Form_Activate() override;
    void Form_Unload() override;
    // Whether every target's amount has been worked out.
    bool WorkedOut() const;

protected:
    void LoadContent() override;

private:
    void StoreOption(std::size_t target);
    void ShowResults();

    // Every target, chosen or not, as the preview line's targets are worked out: one at a time,
    // what is known kept while the files it was worked out from are the same.
    std::unique_ptr<TargetPreviews> previews_;
    bool stale_ = true;          // what is known may be out of date (a clean ran meanwhile)
    bool userFolderSet_ = true;  // a user folder is stored
};

}  // namespace screens
