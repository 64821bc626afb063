#ifndef DSTYLESERIALIZE_H
#define DSTYLESERIALIZE_H

class DStyle;
class QARes;
class QAResGroup;

// Saves styles as host resources and restores them. A style becomes a group
// holding the string "name" and one resource per attribute: "family"
// (string), "size" (int), "bold", "italic", "underline" (booleans), "color"
// and "background" (RGB, only when set), "align" (string) and "margin"
// (int).
class DStyleSerialize
{
public:
    // A new group tagged `tag`; the caller owns it.
    static QAResGroup* styleToResources(const char* tag, const DStyle* style);
    // Overwrites the style's attributes with those found in `group`;
    // attributes missing or of another type keep the style's value, and the
    // name is left alone. False when `group` is not a group.
    static bool styleFromResources(QARes* group, DStyle* style);
};

#endif
