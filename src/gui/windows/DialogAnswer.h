#ifndef OKU_GUI_WINDOWS_DIALOGANSWER_H
#define OKU_GUI_WINDOWS_DIALOGANSWER_H

namespace OKU {

/// The answers of the standard message boxes.
enum DialogAnswer {
    ANSWER_OK = 0,
    ANSWER_YES = 1,
    ANSWER_NO = 2,
    ANSWER_CANCEL = 3,
    ANSWER_YES_TO_ALL = 4,
    ANSWER_NO_TO_ALL = 5
};

} // namespace OKU

#endif
