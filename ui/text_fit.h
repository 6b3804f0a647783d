// Fitting short texts into their text windows by drawing them smaller: a line that must stay
// one line (a signature), and a text around a name that must never be split or cut (a file
// name in a narrow status box), which is shortened in its middle once smaller would be too
// small to read.
#pragma once

#include <functional>
#include <string>

class TText;

// Lays the text out without wrapping and, when it is wider than its window, draws it
// smaller to fit.
void FitOnOneLine(TText& text);

// Shows format(name) wrapped at blanks in the window. When the name does not fit a line of
// the window or the text does not fit its height, the text is drawn smaller, but no smaller
// than minSize pixels; below that, characters from the middle of the name's stem (the part
// before its last '.') give way to an ellipsis until the text fits: "copy_of_…_walk.xml".
void ShowNameFitted(TText& text, const std::string& name,
                    const std::function<std::string(const std::string&)>& format, float minSize);

// The name with `cut` characters (UTF-8 sequences) of the middle of its stem replaced by an
// ellipsis; the name itself when cut is 0, the ellipsis and the extension when it is the
// whole stem or more.
std::string ElideMiddle(const std::string& name, size_t cut);
