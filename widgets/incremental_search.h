#pragma once

#include <QString>
#include <functional>

// Incremental search of a closed list: typed characters build a prefix, and the first item whose
// text begins with it (case-insensitively) is selected.
class TIncrementalSearch {
public:
    // What a key asks of the list.
    struct TResult {
        enum TAction { None, Select, ClearSelection };
        TAction Action = None;
        int Index = -1; // the item to select
        bool Beep = false;
    };
    using TItemText = std::function<QString(int Index)>;

    // Appends a printable character and searches. Without a match the character is dropped
    // again and the result asks for a beep.
    TResult TypeCharacter(QChar Character, int Count, const TItemText& Text);
    // Removes the prefix's last character: an empty prefix beeps; a prefix that becomes empty
    // clears the selection; otherwise searches again.
    TResult Backspace(int Count, const TItemText& Text);
    // Escape, navigation keys and losing the focus start over.
    void Clear() { FPrefix.clear(); }
    const QString& Prefix() const { return FPrefix; }

    // True for the characters that extend a prefix: printable ones.
    static bool IsSearchCharacter(QChar Character);
    // The first item, from the top, beginning with Prefix; -1 when none does.
    static int FindPrefix(const QString& Prefix, int Count, const TItemText& Text);

private:
    TResult Search(int Count, const TItemText& Text) const;

    QString FPrefix;
};
