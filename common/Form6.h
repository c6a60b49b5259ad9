#pragma once
// The hidden helper window: its lists are the working storage of the cleaning engine and the
// cookie screens, and its file list shows the Cookies folder. Its contents live as long as it.
#include "forms/Form.h"

namespace common {

class Form6 : public forms::Form {
public:
    Form6();
    void Form_Load() override;

    forms::FileListBox File1{*this, "File1"};
    forms::ListBox List1{*this, "List1"};  // collected URL-cache entries
    forms::ListBox List2{*this, "List2"};  // the internet keep-list during a clean run
    forms::ListBox List3{*this, "List3"};  // the cookie keep-list during its rewrite
    forms::ListBox List4{*this, "List4"};
};

}  // namespace common
