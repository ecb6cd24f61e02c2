#include "interface/frame.h"

#include <cmath>

namespace {

const char kHex[] = "0123456789ABCDEF";

int ChecksumOf(const char* data, qsizetype n)
{
    unsigned sum = 0;
    for (qsizetype i = 0; i < n; ++i)
        sum += static_cast<unsigned char>(data[i]);
    return static_cast<int>((256u - (sum % 256u)) % 256u);
}

} // namespace

QByteArray BuildFrame(const QByteArray& command, char terminator)
{
    QByteArray frame;
    frame.reserve(command.size() + 9);
    frame.append(Wire::STX);
    frame.append("0001");
    frame.append(command);
    frame.append(Wire::ETX);
    frame.append(HexText(static_cast<quint32>(ChecksumOf(frame.constData(), frame.size())), 2));
    frame.append(terminator);
    return frame;
}

QByteArray FromStx(const QByteArray& frame)
{
    const qsizetype stx = frame.indexOf(Wire::STX);
    return stx > 0 ? frame.mid(stx) : frame;
}

int FrameChecksum(const QByteArray& frame)
{
    if (frame.size() < 3)
        return 0;
    return ChecksumOf(frame.constData(), frame.size() - 3);
}

bool FrameChecksumOk(const QByteArray& frame)
{
    if (frame.size() < 3)
        return false;
    const int hi = HexDigit(frame.at(frame.size() - 3));
    const int lo = HexDigit(frame.at(frame.size() - 2));
    if (hi < 0 || lo < 0)
        return false;
    return hi * 16 + lo == FrameChecksum(frame);
}

QByteArray FrameEcho(const QByteArray& lastFrame, bool longWhenHistory)
{
    const bool history = longWhenHistory && lastFrame.contains("IH");
    return lastFrame.mid(5, history ? 7 : 5);
}

QByteArray AckBlock(const QByteArray& lastFrame)
{
    return BuildFrame(FrameEcho(lastFrame, true) + Wire::ACK, Wire::ETB);
}

QByteArray NakBlock(const QByteArray& lastFrame, bool longWhenHistory, char terminator)
{
    return BuildFrame(FrameEcho(lastFrame, longWhenHistory) + Wire::NAK, terminator);
}

std::optional<QByteArray> ValueToHexField(float value, int decimals)
{
    if (std::isnan(value))
        return std::nullopt;
    if (value <= -101.0f)
        return QByteArray("0000");
    const double scaled = std::nearbyint(static_cast<double>(value) * std::pow(10.0, decimals));
    if (!(scaled >= -32768.0 && scaled <= 32767.0))
        return std::nullopt;
    return HexText(static_cast<quint32>(static_cast<int>(scaled)), 4);
}

float HexFieldToValue(const QByteArray& field, int decimals, bool* ok)
{
    if (ok)
        *ok = true;
    if (field == "****")
        return -101.0f;
    int word = 0;
    bool good = field.size() == 4;
    for (qsizetype i = 0; good && i < field.size(); ++i) {
        const int d = HexDigit(field.at(i));
        if (d < 0)
            good = false;
        else
            word = word * 16 + d;
    }
    if (!good) {
        if (ok)
            *ok = false;
        return 0.0f;
    }
    const auto value = static_cast<qint16>(static_cast<quint16>(word));
    return static_cast<float>(value / std::pow(10.0, decimals));
}

QByteArray StripControlChars(const QByteArray& text)
{
    QByteArray out;
    out.reserve(text.size());
    for (char c : text) {
        const auto u = static_cast<unsigned char>(c);
        if (u >= 32 && u < 128)
            out.append(c);
    }
    return out;
}

QString FormatControlChars(const QByteArray& frame)
{
    QString out;
    out.reserve(frame.size() + 24);
    for (char c : frame) {
        const auto u = static_cast<unsigned char>(c);
        if (u >= 32 || c == Wire::CR || c == Wire::LF) {
            out.append(QChar(u));
            continue;
        }
        switch (c) {
        case Wire::STX: out.append(QLatin1String("[STX]")); break;
        case Wire::ETX: out.append(QLatin1String("[ETX]")); break;
        case Wire::EOT: out.append(QLatin1String("[EOT]")); break;
        case Wire::ENQ: out.append(QLatin1String("[ENQ]")); break;
        case Wire::ACK: out.append(QLatin1String("[ACK]")); break;
        case Wire::NAK: out.append(QLatin1String("[NAK]")); break;
        case Wire::ETB: out.append(QLatin1String("[ETB]")); break;
        case Wire::SUB: out.append(QLatin1String("[SUB]")); break;
        case Wire::ESC: out.append(QLatin1String("[ESC]")); break;
        default:
            out.append(QLatin1Char('[') + QString::fromLatin1(HexText(u, 2)) + QLatin1Char(']'));
        }
    }
    return out;
}

char HexChar(int nibble)
{
    return kHex[nibble & 0xF];
}

QByteArray HexText(quint32 value, int digits)
{
    QByteArray out(digits, '0');
    for (int i = digits - 1; i >= 0; --i, value >>= 4)
        out[i] = HexChar(static_cast<int>(value));
    return out;
}

int HexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

std::optional<LinePiece> CutPiece(QByteArray& buffer)
{
    const auto cut = [&buffer](LinePiece::Kind kind, qsizetype n) {
        LinePiece piece{kind, buffer.left(n)};
        buffer.remove(0, n);
        return piece;
    };
    if (buffer.isEmpty())
        return std::nullopt;
    if (buffer.front() != Wire::STX) {
        if (buffer.front() == Wire::CR)
            return cut(LinePiece::Kind::Cr, 1);
        qsizetype end = 1;
        while (end < buffer.size() && buffer.at(end) != Wire::STX && buffer.at(end) != Wire::CR)
            ++end;
        return cut(LinePiece::Kind::Noise, end);
    }
    qsizetype etx = 1;
    for (; etx < buffer.size(); ++etx) {
        if (buffer.at(etx) == Wire::STX)
            return cut(LinePiece::Kind::Noise, etx);
        if (buffer.at(etx) == Wire::ETX)
            break;
    }
    // The two checksum characters and the terminator.
    for (qsizetype i = etx + 1; i < buffer.size() && i <= etx + 3; ++i) {
        if (buffer.at(i) == Wire::STX)
            return cut(LinePiece::Kind::Noise, i);
    }
    if (etx + 3 >= buffer.size())
        return std::nullopt;
    const char terminator = buffer.at(etx + 3);
    if (terminator == Wire::ETB || terminator == Wire::EOT)
        return cut(LinePiece::Kind::Frame, etx + 4);
    return cut(LinePiece::Kind::Noise, etx + 4);
}

std::optional<qint64> BlockHeaderNumber(const QByteArray& block)
{
    constexpr qsizetype kHeader = 10;
    constexpr int kMaxDigits = 12;
    qint64 value = 0;
    qsizetype i = kHeader;
    for (; i < block.size() && i - kHeader < kMaxDigits; ++i) {
        const char c = block.at(i);
        if (c < '0' || c > '9')
            break;
        value = value * 10 + (c - '0');
    }
    if (i == kHeader || i >= block.size())
        return std::nullopt;
    const char end = block.at(i);
    if (end != ',' && end != Wire::CR && end != Wire::ETX)
        return std::nullopt;
    return value;
}
