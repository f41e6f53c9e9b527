// Layout arithmetic of the note form that follows from the form's own size.
// Pixels only; the window work lives in win32/note_form.
#pragma once

namespace taskloom {

struct MemoSize {
    int width;
    int height;
};

// ResizeClick of the pad's note: the memo (at 0,18) fills the form, whose
// size is its outer window size. A form smaller than its frame leaves the
// memo at zero rather than at a negative size.
constexpr MemoSize PadMemoSize(int formWidth, int formHeight) {
    return {formWidth > 8 ? formWidth - 8 : 0, formHeight > 39 ? formHeight - 39 : 0};
}

}  // namespace taskloom
