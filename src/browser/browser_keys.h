#pragma once
// Keys and kinds of the stored-data browser. A key is a path, one blank and
// a letter: the root "0 #"; levels S serial number, T station, U user,
// M folder; kind nodes I A D E B R; list items of stored records "<SeqNo> "
// and G K H V W P. Keys are only names: the values a node stands for travel
// in the node itself, never parsed back out of its key.
#include <QChar>
#include <QString>
#include <array>
#include <cstdint>

namespace browser {

inline const QString kRootKey = QStringLiteral("0 #");

// One kind of stored record (the value of Log_Head.Types).
struct RecordKind {
    int types;
    char nodeLetter;    // kind node of the tree
    char itemLetter;    // list item of one record
    int captionId;      // kind caption
    const char* icon;   // list icon name
};

// The kinds in the order their nodes are added under a folder.
inline constexpr std::array<RecordKind, 6> kKinds{{
    {1, 'I', 'G', 5624, "Interval0"},
    {2, 'A', 'K', 5625, "Alarm0"},
    {3, 'D', 'H', 5671, "History"},
    {5, 'E', 'V', 5627, "AEvent"},
    {6, 'B', 'W', 5628, "TEvent"},
    {7, 'R', 'P', 5629, "PEvent"},
}};

// The kind of a kind-node letter or a list-item letter; nullptr for
// anything else.
const RecordKind* KindOfNodeLetter(QChar letter);
const RecordKind* KindOfItemLetter(QChar letter);

// The letter of a key (its last character; a blank for an empty key).
QChar KeyLetter(const QString& key);
bool IsLevelLetter(QChar letter);  // # S T U M
bool IsFolderKey(const QString& key); // a level or kind node

// The key of the list item of a stored record, and its SeqNo back (0 when
// the key names no stored record).
QString RecordKey(qint64 seqNo, const RecordKind& kind);
qint64 RecordKeySeqNo(const QString& key);

} // namespace browser
