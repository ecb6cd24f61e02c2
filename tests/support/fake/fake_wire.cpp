#include "fake_wire.h"

#include <cmath>

namespace fakewire {

namespace {
const char kHex[] = "0123456789ABCDEF";
}

int Checksum(const QByteArray& body)
{
    unsigned sum = 0;
    for (char c : body)
        sum += static_cast<unsigned char>(c);
    return static_cast<int>((256u - sum % 256u) % 256u);
}

QByteArray Frame(const QByteArray& command, char terminator, bool badChecksum)
{
    QByteArray f;
    f.append(STX);
    f.append("0001");
    f.append(command);
    f.append(ETX);
    int sum = Checksum(f);
    if (badChecksum)
        sum = (sum + 0x5A) & 0xFF;
    f.append(kHex[sum >> 4]);
    f.append(kHex[sum & 0xF]);
    f.append(terminator);
    return f;
}

QByteArray Hex4(std::int32_t v)
{
    const auto w = static_cast<quint16>(static_cast<qint16>(v));
    QByteArray out(4, '0');
    for (int i = 0; i < 4; ++i)
        out[i] = kHex[(w >> ((3 - i) * 4)) & 0xF];
    return out;
}

QByteArray ScaledField(float value, int points)
{
    if (value <= -101.0f)
        return "****";
    return Hex4(static_cast<std::int32_t>(std::lround(value * std::pow(10.0, points))));
}

} // namespace fakewire
