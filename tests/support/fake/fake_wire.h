#pragma once
#include <QByteArray>
#include <cstdint>

// The simulated instrument's own frame and field encoders, kept apart from
// the program's codec so that a fault there shows in the tests.
namespace fakewire {

constexpr char STX = 0x02, ETX = 0x03, EOT = 0x04, ACK = 0x06, NAK = 0x15, ETB = 0x17, SUB = 0x1A, CR = 0x0D;

// The byte sum of body negated, low 8 bits.
int Checksum(const QByteArray& body);

// STX "0001" command ETX, two checksum digits (a wrong pair when
// badChecksum is set), terminator.
QByteArray Frame(const QByteArray& command, char terminator = EOT, bool badChecksum = false);

// Four upper-case hex digits of the value as 16-bit two's complement.
QByteArray Hex4(std::int32_t v);

// A set point as the instrument sends it: four hex digits of the value
// times 10^points, "****" for no value.
QByteArray ScaledField(float value, int points);

} // namespace fakewire
