#pragma once
#include <QByteArray>
#include <QString>
#include <optional>

// The instrument's framed protocol: STX, "0001", command text, ETX, two hex
// checksum digits, terminator (EOT or ETB). Frames are bytes, one character
// per byte; nothing here decodes them as text.
namespace Wire {
constexpr char STX = 0x02;
constexpr char ETX = 0x03;
constexpr char EOT = 0x04;
constexpr char ENQ = 0x05;
constexpr char ACK = 0x06;
constexpr char NAK = 0x15;
constexpr char ETB = 0x17;
constexpr char SUB = 0x1A;
constexpr char ESC = 0x1B;
constexpr char CR = 0x0D;
constexpr char LF = 0x0A;
} // namespace Wire

// STX + "0001" + command + ETX + checksum digits + terminator.
QByteArray BuildFrame(const QByteArray& command, char terminator);

// A received frame from its first STX on: a stray byte the line or the
// converter put ahead of the block (a NUL, noise) is not part of it. A frame
// without STX is returned whole.
QByteArray FromStx(const QByteArray& frame);

// One piece cut off the front of what has arrived.
struct LinePiece {
    enum class Kind {
        Frame, // STX ... ETX, two checksum characters, then ETB or EOT
        Cr,    // a CR outside a frame: an answer without a block
        Noise, // other bytes outside a frame: no block of any kind
    };
    Kind kind;
    QByteArray bytes;
};

// Cuts the next piece off the front of buffer, or nothing while a frame has
// begun and not yet ended (a CR inside a frame is data). A frame that another
// STX interrupts, or whose terminator is neither ETB nor EOT, is noise up to
// where it broke off.
std::optional<LinePiece> CutPiece(QByteArray& buffer);

// The first field of a block's header (after STX, "0001" and the five
// characters of the command's echo) when it is a decimal number; the
// instrument may number its blocks there. A block from its STX on.
std::optional<qint64> BlockHeaderNumber(const QByteArray& block);

// The value of one hex digit (either case), or -1 for any other character.
int HexDigit(char c);

// The upper-case hex digit of the low four bits of nibble.
char HexChar(int nibble);

// The low `digits` hex digits (upper case, zero-padded) of value; a
// negative number passed in shows as its two's complement.
QByteArray HexText(quint32 value, int digits);

// Checksum (0..255) of the frame without its last three characters: the
// byte sum negated, low 8 bits. A frame shorter than three bytes gives the
// checksum of nothing (0).
int FrameChecksum(const QByteArray& frame);

// True when the two digits before the terminator (upper or lower case)
// match FrameChecksum. False for anything shorter than three bytes or with
// digits that are not hexadecimal.
bool FrameChecksumOk(const QByteArray& frame);

// The echo of an acknowledgement block: characters 6 to 10 of the frame
// (code, ",", mode, ","), or 6 to 12 when longWhenHistory is set and the
// frame contains "IH" (the history request keeps its gas number).
QByteArray FrameEcho(const QByteArray& lastFrame, bool longWhenHistory);

// Acknowledgement blocks built from the frame sent last.
QByteArray AckBlock(const QByteArray& lastFrame);
QByteArray NakBlock(const QByteArray& lastFrame, bool longWhenHistory, char terminator);

// Four-digit signed value field of write requests: the value times
// 10^decimals, rounded half to even, as 16-bit two's complement in upper-
// case hex. -101 (no value) or less gives "0000". A scaled value outside
// -32768..32767 (or a value that is not a number) does not fit the field:
// no field (the caller fails that request).
std::optional<QByteArray> ValueToHexField(float value, int decimals);

// Four-digit signed value field of answers: "****" is -101; otherwise a
// 16-bit two's complement number divided by 10^decimals. ok (when given) is
// false for a field that is not four hex digits (the value is then 0).
float HexFieldToValue(const QByteArray& field, int decimals, bool* ok = nullptr);

// Keeps the bytes 32..127, in order.
QByteArray StripControlChars(const QByteArray& text);

// Renders a frame for the serial log: control characters as "[STX]" etc.,
// other codes below 32 as "[1F]"; CR and LF kept; bytes 32 and above kept
// (shown as Latin-1 characters).
QString FormatControlChars(const QByteArray& frame);
