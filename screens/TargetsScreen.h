#pragma once
// Every target a clean can clean, from the table: a check box for each (the same settings as the
// clean options' boxes, stored the moment it is clicked), and beside it what a clean now would
// free there, or why it would be skipped, worked out beside the windows target by target.
#include <cstddef>
#include <memory>
#include <optional>
#include <vector>

#include "engine/DeleteWalk.h"
#include "screens/ScreenFrame.h"

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
    struct Job;
    void StoreOption(std::size_t target);
    // Works every target out beside the windows; what is known so far shows as it comes.
    void Start();
    void Abandon();
    void ShowResults();

    std::shared_ptr<Job> job_;
    // What each target would free, once worked out (nullopt: not yet).
    std::vector<std::optional<engine::DeleteTally>> results_;
    std::optional<std::string> refusal_;  // the user folder would be refused, and why
    bool userFolderSet_ = true;           // a user folder is stored
};

}  // namespace screens
