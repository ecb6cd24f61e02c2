#include "fake_instrument.h"
#include "fake_records.h"
#include "fake_wire.h"

#include <QSocketNotifier>
#include <QTimer>

#include <cerrno>
#include <utility>
#include <cmath>
#include <limits>
#include <fcntl.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

using namespace fakewire;

namespace {

QByteArray Hex2(std::int32_t v)
{
    return Hex4(v).right(2);
}

QByteArray Padded(const QString& text, int width)
{
    return text.toLatin1().leftJustified(width, ' ', true);
}

bool ChecksumOk(const QByteArray& frame)
{
    if (frame.size() < 9)
        return false;
    bool ok = false;
    const int got = frame.mid(frame.size() - 3, 2).toInt(&ok, 16);
    return ok && got == Checksum(frame.left(frame.size() - 3));
}

} // namespace

FakeInstrumentState::FakeInstrumentState()
{
    gas[1].name = QStringLiteral("OXY");
    gas[1].fullScale = QStringLiteral(" 40.0");
    gas[1].resolution = QStringLiteral("  0.1");
    gas[1].unit = QStringLiteral("VOL%");
    gas[1].points = 1;
    gas[1].warning = 19.5f;
    gas[1].alarm = 18.0f;
    gas[1].stel = -101.0f;
    gas[1].twa = -101.0f;
    gas[1].autoCalib = 20.9f;
    gas[1].calCoefficient = 250;
    gas[1].reading = 20.9f;
    gas[1].calibBefore = QStringLiteral(" 20.5");
    gas[1].calibAfter = QStringLiteral(" 20.9");
}

FakeInstrument::FakeInstrument(QObject* parent) : QObject(parent)
{
    m_drainTimer = new QTimer(this);
    m_drainTimer->setTimerType(Qt::PreciseTimer);
    m_drainTimer->setInterval(1);
    connect(m_drainTimer, &QTimer::timeout, this, &FakeInstrument::Drain);
}

FakeInstrument::~FakeInstrument()
{
    Close();
}

bool FakeInstrument::OpenPty()
{
    Close();
    char name[256] = {};
    if (::openpty(&m_master, &m_slave, name, nullptr, nullptr) != 0) {
        m_master = m_slave = -1;
        return false;
    }
    termios t{};
    if (::tcgetattr(m_slave, &t) == 0) {
        ::cfmakeraw(&t);
        ::tcsetattr(m_slave, TCSANOW, &t);
    }
    ::fcntl(m_master, F_SETFL, ::fcntl(m_master, F_GETFL) | O_NONBLOCK);
    m_devicePath = QString::fromLocal8Bit(name);
    m_notifier = new QSocketNotifier(m_master, QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &FakeInstrument::OnReadable);
    return true;
}

void FakeInstrument::Close()
{
    if (m_notifier) {
        m_notifier->setEnabled(false);
        delete m_notifier;
        m_notifier = nullptr;
    }
    if (m_master >= 0)
        ::close(m_master);
    if (m_slave >= 0)
        ::close(m_slave);
    m_master = m_slave = -1;
}

void FakeInstrument::CutLine()
{
    m_out.clear();
    m_drainTimer->stop();
    Close();
}

void FakeInstrument::OnReadable()
{
    char buf[4096];
    for (;;) {
        const ssize_t n = ::read(m_master, buf, sizeof buf);
        if (n > 0) {
            Receive(QByteArray(buf, static_cast<qsizetype>(n)));
            if (m_master < 0)
                return;
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
            return;
        // The other end has gone: stop listening until it comes back.
        if (m_notifier)
            m_notifier->setEnabled(false);
        QTimer::singleShot(20, this, [this] {
            if (m_notifier)
                m_notifier->setEnabled(true);
        });
        return;
    }
}

void FakeInstrument::Receive(const QByteArray& bytes)
{
    m_bytesReceived += bytes.size();
    m_in.append(bytes);
    for (;;) {
        const qsizetype eot = m_in.indexOf(EOT);
        const qsizetype etb = m_in.indexOf(ETB);
        qsizetype end = -1;
        if (eot >= 0 && (etb < 0 || eot < etb))
            end = eot;
        else if (etb >= 0)
            end = etb;
        if (end < 0)
            return;
        QByteArray frame = m_in.left(end + 1);
        m_in.remove(0, end + 1);
        // Anything before the STX is line noise.
        const qsizetype stx = frame.indexOf(STX);
        if (stx > 0)
            frame.remove(0, stx);
        HandleFrame(frame);
        if (m_master < 0 && !m_writer)
            return;
    }
}

QByteArray FakeInstrument::CommandOf(const QByteArray& frame)
{
    const qsizetype etx = frame.lastIndexOf(ETX);
    if (frame.size() < 5 || etx < 5)
        return {};
    return frame.mid(5, etx - 5);
}

QList<QByteArray> FakeInstrument::Commands() const
{
    QList<QByteArray> out;
    for (const QByteArray& f : m_frames)
        out.append(CommandOf(f));
    return out;
}

void FakeInstrument::ClearFrames()
{
    m_frames.clear();
    m_commandCounts.clear();
    m_acksHeard = 0;
}

void FakeInstrument::SetRecordLines(const QByteArray& request, const QList<QByteArray>& lines)
{
    m_recordLines[request] = lines;
}

void FakeInstrument::SetDump(const QByteArray& request, const QByteArray& bytes, int bytesPerBlock)
{
    m_dumps[request] = qMakePair(bytes, qMax(1, bytesPerBlock));
}

void FakeInstrument::AddFault(Fault fault, int frameNo, int times)
{
    FaultRule r;
    r.fault = fault;
    r.frameNo = frameNo;
    r.remaining = times;
    m_faults.append(r);
}

void FakeInstrument::AddFaultOn(Fault fault, const QByteArray& command, int occurrence, int times)
{
    FaultRule r;
    r.fault = fault;
    r.command = command;
    r.occurrence = occurrence;
    r.remaining = times;
    m_faults.append(r);
}

void FakeInstrument::ClearFaults()
{
    m_faults.clear();
    m_awaitResend.clear();
    m_lateStage = 0;
    m_lateAnswer.clear();
    m_heldFrames.clear();
    m_heldFrame.reset();
    m_heldForRequest.clear();
    m_heldForNext.clear();
}

void FakeInstrument::SendHeldAnswer()
{
    Send(std::exchange(m_heldForRequest, {}));
}

void FakeInstrument::SetSplit(int pieceSize, bool afterCr)
{
    m_pieceSize = qMax(0, pieceSize);
    m_splitAfterCr = afterCr;
}

void FakeInstrument::SetByteRate(int bytesPerSecond)
{
    m_byteRate = qMax(0, bytesPerSecond);
}

std::optional<FakeInstrument::Fault> FakeInstrument::TakeFault(const QByteArray& command, int occurrence, int frameNo,
                                                               std::optional<Fault> only)
{
    for (FaultRule& r : m_faults) {
        if (r.remaining == 0)
            continue;
        if (only ? r.fault != *only : r.fault == Fault::FrameHeld)
            continue;
        bool applies = false;
        if (r.frameNo > 0)
            applies = frameNo >= r.frameNo;
        else
            applies = command == r.command && occurrence >= r.occurrence;
        if (!applies)
            continue;
        if (r.remaining > 0)
            --r.remaining;
        return r.fault;
    }
    return std::nullopt;
}

void FakeInstrument::HandleFrame(const QByteArray& frame)
{
    m_frames.append(frame);
    const QByteArray command = CommandOf(frame);
    m_commandCounts[command] += 1;
    emit FrameReceived(frame);
    const Incoming in{frame, static_cast<int>(m_frames.size()), m_commandCounts.value(command)};
    if (!m_heldFrame && TakeFault(command, in.occurrence, in.frameNo, Fault::FrameHeld)) {
        m_heldFrame = in;
        return;
    }
    const std::optional<Incoming> held = std::exchange(m_heldFrame, std::nullopt);
    for (const Incoming& next : held ? QList<Incoming>{in, *held} : QList<Incoming>{in}) {
        if (m_lateStage != 0)
            HoldBack(next);
        else
            Answer(next);
    }
}

void FakeInstrument::HoldBack(const Incoming& in)
{
    m_heldFrames.append(in);
    if (m_lateStage == 1) {
        // The late answer goes out now, crossing this frame on the line.
        m_lateStage = 2;
        Send(m_lateAnswer);
        m_lateAnswer.clear();
        return;
    }
    // The program has replied to the late answer: the frames held are
    // answered in the order they came.
    m_lateStage = 0;
    const QList<Incoming> held = std::exchange(m_heldFrames, {});
    for (const Incoming& h : held)
        Answer(h);
}

void FakeInstrument::Answer(const Incoming& in)
{
    if (m_commandState.poweredOff)
        return; // switched off: hears nothing
    const QByteArray command = CommandOf(in.frame);
    if (!command.endsWith(ACK) && !command.endsWith(NAK))
        SendHeldAnswer(); // a request: the block held for it goes out first
    QByteArray flushed = std::exchange(m_heldForNext, {});
    Respond(in, [&](const QByteArray& bytes) { Send(std::exchange(flushed, {}) + bytes); });
    Send(flushed); // the frame got no answer: what was held goes out alone
}

void FakeInstrument::Respond(const Incoming& in, const std::function<void(const QByteArray&)>& send)
{
    const QByteArray& frame = in.frame;
    const QByteArray command = CommandOf(frame);
    if (!ChecksumOk(frame))
        return; // a garbled request gets no answer

    const bool isAck = command.endsWith(ACK);
    const bool isNak = command.endsWith(NAK);
    const bool resend = !m_awaitResend.isEmpty() && frame == m_awaitResend;
    m_awaitResend.clear();

    const auto fault = TakeFault(command, in.occurrence, in.frameNo);
    if (fault == Fault::Silence)
        return;
    if (fault == Fault::AnswerOnlyToResend && !resend) {
        m_awaitResend = frame;
        return;
    }
    if (fault == Fault::BareCr) {
        send(QByteArray(1, CR));
        return;
    }
    if (fault == Fault::NakRefusal) {
        send(Frame(command.left(5) + NAK, frame.back()));
        return;
    }
    const bool badChecksum = fault == Fault::BadChecksum;
    m_corruptNextBlock = fault == Fault::CorruptRecordLine;

    QByteArray answer;
    if (isAck || isNak) {
        // Acknowledgement of a download block.
        if (m_download.request.isEmpty())
            return;
        if (isAck) {
            ++m_acksHeard;
            if (m_download.next >= m_download.blocks.size())
                return;
            if (fault == Fault::BlockLeftOut && m_download.next + 1 < m_download.blocks.size())
                ++m_download.next;
            answer = BlockFrame(m_download.next, m_corruptNextBlock);
            m_download.lastBlock = BlockFrame(m_download.next, false);
            ++m_download.next;
        } else {
            answer = m_download.lastBlock;
        }
    } else if (m_recordLines.contains(command) || m_dumps.contains(command)) {
        StartDownload(command, fault != Fault::UnnumberedBlocks);
        answer = BlockFrame(0, m_corruptNextBlock);
        m_download.lastBlock = BlockFrame(0, false);
        m_download.next = 1;
    } else {
        m_download = Download();
        answer = AnswerFor(command);
        if (answer.isEmpty())
            answer = Frame(command.left(5) + NAK, EOT); // unknown: refused
    }

    if (fault == Fault::ForeignAnswer)
        answer = AnswerFor("RC,R,");
    if (badChecksum) {
        // Same block, wrong checksum digits.
        answer = Frame(CommandOf(answer), answer.back(), true);
    }
    if (fault == Fault::LineCut) {
        m_cutPending = true;
        send(answer.left(answer.size() / 2));
        return;
    }
    if (fault == Fault::AnswerLost)
        return;
    if (fault == Fault::StrayNul)
        answer.prepend('\0');
    if (fault == Fault::LateBlock) {
        m_lateStage = 1;
        m_lateAnswer = answer;
        return;
    }
    if (fault == Fault::HeldIntoNextRequest) {
        m_heldForRequest = answer;
        return;
    }
    if (fault == Fault::FlushedWithNext) {
        m_heldForNext = answer;
        return;
    }
    send(answer);
}

void FakeInstrument::StartDownload(const QByteArray& request, bool numbered)
{
    m_download = Download();
    m_download.request = request;
    const bool history = request.startsWith("IH,R,");
    if (m_dumps.contains(request)) {
        const auto [bytes, perBlock] = m_dumps.value(request);
        const int count = qMax(1, static_cast<int>((bytes.size() + perBlock - 1) / perBlock));
        for (int b = 0; b < count; ++b) {
            QByteArray block = request;
            block += QByteArray::number(numbered ? b + 1 : 0).rightJustified(4, '0') + ',';
            block += QByteArray::number(numbered ? count : 0).rightJustified(4, '0') + ',';
            block += "00,";
            block += bytes.mid(static_cast<qsizetype>(b) * perBlock, perBlock).toHex().toUpper();
            m_download.blocks.append(block);
        }
        return;
    }
    const QList<QList<QByteArray>> parts = RecordBlocks(m_recordLines.value(request));
    const int count = static_cast<int>(parts.size());
    for (int b = 0; b < count; ++b) {
        const QList<QByteArray>& part = parts[b];
        QByteArray block = request;
        // Three header tokens; the history request's gas number is the first.
        if (!history)
            block += QByteArray::number(numbered ? b + 1 : 0).rightJustified(4, '0') + ',';
        block += QByteArray::number(numbered ? count : 0).rightJustified(4, '0') + ',';
        block += QByteArray::number(part.size()).rightJustified(2, '0');
        for (const QByteArray& line : part) {
            block += CR;
            block += line;
        }
        m_download.blocks.append(block);
    }
}

QByteArray FakeInstrument::BlockFrame(int index, bool corrupt)
{
    QByteArray command = m_download.blocks.value(index);
    if (corrupt) {
        // Garble the last record line: it loses its last character, so it
        // no longer has the length of its type.
        if (command.lastIndexOf(CR) >= 0)
            command.chop(1);
    }
    const bool last = index + 1 >= m_download.blocks.size();
    return Frame(command, last ? EOT : ETB);
}

QByteArray FakeInstrument::AnswerFor(const QByteArray& command)
{
    if (auto answer = CommandAnswer(command))
        return *answer;
    const FakeInstrumentState& s = m_state;
    const QByteArray code = command.left(5);
    const auto both = [&](auto f) { return f(s.gas[0]) + ',' + f(s.gas[1]); };
    QByteArray data;
    if (code == "RC,R,")
        data = s.model.toLatin1();
    else if (code == "VP,R,")
        data = s.romNumber.toLatin1() + ',' + s.sum.toLatin1();
    else if (code == "HB,R,")
        data = Hex4(s.batteryMillivolts);
    else if (code == "HA,R,") {
        for (int k = 0; k < 5; ++k)
            data += (k ? "," : "") + Hex4(s.analog[k]);
    } else if (code == "XZ,R,")
        data = Padded(s.userId, 10);
    else if (code == "XS,R,")
        data = Padded(s.stationId, 10);
    else if (code == "IN,R,")
        data = Padded(s.serialNo, 12);
    else if (code == "HN,R,")
        data = Padded(s.dummySerial, 12);
    else if (code == "HC,R,")
        data = s.clock.toLatin1();
    else if (code == "UJ,R,")
        data = s.specType.toLatin1();
    else if (code == "GJ,R,")
        data = both([](const FakeGas& g) {
            if (!g.enabled)
                return QByteArray(18, '*');
            return Padded(g.name, 4) + Padded(g.fullScale, 5).right(5) + Padded(g.resolution, 5)
                   + Padded(g.unit, 4);
        });
    else if (code == "A1,R,")
        data = both([](const FakeGas& g) { return ScaledField(g.warning, g.points); });
    else if (code == "A2,R,")
        data = both([](const FakeGas& g) { return ScaledField(g.alarm, g.points); });
    else if (code == "AS,R,")
        data = both([](const FakeGas& g) { return ScaledField(g.stel, g.points); });
    else if (code == "AW,R,")
        data = both([](const FakeGas& g) { return ScaledField(g.twa, g.points); });
    else if (code == "UV,R,")
        data = s.coldDistricts.toLatin1();
    else if (code == "AP,R,")
        data = s.oxyAlarmType.toLatin1();
    else if (code == "AT,R,")
        data = s.warningType.toLatin1();
    else if (code == "AU,R,")
        data = s.alarmType.toLatin1();
    else if (code == "AV,R,")
        data = s.vibration.toLatin1();
    else if (code == "XT,R,")
        data = Hex2(s.backLight);
    else if (code == "AL,R,")
        data = s.alarmPassword.toLatin1();
    else if (code == "SZ,R,")
        data = Hex4(s.airP1) + ',' + Hex4(s.airP2) + ',' + Hex4(s.airO2);
    else if (code == "S1,R,")
        data = both([](const FakeGas& g) { return ScaledField(g.autoCalib, g.points) + ',' + Hex4(g.calCoefficient); });
    else if (code == "WD,R,")
        data = s.warmDisp.toLatin1();
    else if (code == "WT,R,")
        data = Hex2(s.warmTime);
    else if (code == "SO,R,")
        data = both([](const FakeGas& g) {
            return Padded(g.calibDate, 6) + Padded(g.calibTime, 6) + Padded(g.calibBefore, 5)
                   + Padded(g.calibAfter, 5);
        });
    else if (code == "DN,R,")
        data = both([](const FakeGas& g) { return g.readingFails ? QByteArray("FAIL") : ScaledField(g.reading, g.points); });
    else if (command.size() >= 5 && (command.at(3) == 'W' || command.at(3) == 'X'))
        return Frame(command, EOT); // writes are confirmed by their echo
    else if (command.size() >= 5 && command.at(3) == 'E')
        return Frame(code + ACK, EOT);
    else
        return {};
    return Frame(code + data, EOT);
}

void FakeInstrument::Send(const QByteArray& bytes)
{
    if (bytes.isEmpty())
        return;
    if (m_out.isEmpty() && m_byteRate > 0) {
        m_rateClock.start();
        m_rateBytes = 0;
    }
    if (m_pieceSize > 0 || m_splitAfterCr) {
        QByteArray piece;
        for (char c : bytes) {
            piece.append(c);
            if ((m_pieceSize > 0 && piece.size() >= m_pieceSize) || (m_splitAfterCr && c == CR)) {
                m_out.append(piece);
                piece.clear();
            }
        }
        if (!piece.isEmpty())
            m_out.append(piece);
        m_drainTimer->setInterval(3);
    } else {
        m_out.append(bytes);
        // Paced output is released as each byte falls due on the wire, so
        // the check runs whenever the event loop is free.
        m_drainTimer->setInterval(m_byteRate > 0 ? 0 : 1);
    }
    if (m_byteRate == 0 && m_pieceSize == 0 && !m_splitAfterCr) {
        Drain();
        return;
    }
    if (!m_drainTimer->isActive())
        m_drainTimer->start();
}

void FakeInstrument::Drain()
{
    const bool split = m_pieceSize > 0 || m_splitAfterCr;
    qint64 allowance = std::numeric_limits<qint64>::max();
    if (m_byteRate > 0) {
        allowance = m_rateClock.nsecsElapsed() * m_byteRate / 1000000000LL - m_rateBytes;
        // Bytes go out in runs of 64 (the end of an answer as soon as it is
        // due): a pseudo-terminal costs far more per write than a UART.
        qint64 pending = 0;
        for (const QByteArray& piece : m_out)
            pending += piece.size();
        if (allowance < qMin<qint64>(64, pending))
            return;
    }
    while (!m_out.isEmpty() && allowance > 0) {
        QByteArray piece = m_out.takeFirst();
        if (piece.size() > allowance) {
            m_out.prepend(piece.mid(allowance));
            piece.truncate(allowance);
        }
        const qsizetype written = WriteOut(piece);
        allowance -= written;
        m_rateBytes += written;
        if (written < piece.size())
            break; // the line is full: go on next tick
        if (split)
            break; // one piece per tick, so the host reads them apart
    }
    if (m_out.isEmpty()) {
        m_drainTimer->stop();
        if (m_cutPending) {
            m_cutPending = false;
            QTimer::singleShot(5, this, &FakeInstrument::CutLine);
        }
    } else if (!m_drainTimer->isActive()) {
        m_drainTimer->start();
    }
}

qsizetype FakeInstrument::WriteOut(const QByteArray& bytes)
{
    if (m_writer) {
        m_bytesSent += bytes.size();
        m_writer(bytes);
        return bytes.size();
    }
    if (m_master < 0)
        return bytes.size();
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(m_master, bytes.constData() + done, static_cast<size_t>(bytes.size() - done));
        if (n > 0) {
            done += n;
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        break; // full: the rest goes out on the next tick
    }
    m_bytesSent += done;
    if (done < bytes.size()) {
        m_out.prepend(bytes.mid(done));
        if (!m_drainTimer->isActive())
            m_drainTimer->start();
    }
    return done;
}
