#pragma once
#include "fake_commands.h"

#include <QByteArray>
#include <QDateTime>
#include <QElapsedTimer>
#include <QHash>
#include <QList>
#include <QObject>
#include <QString>
#include <array>
#include <cstdint>
#include <functional>
#include <optional>

class QSocketNotifier;
class QTimer;

// One gas channel of the simulated instrument. A value of -101 is sent as
// "****" (no value).
struct FakeGas {
    bool enabled = true;
    QString name = QStringLiteral("CO");
    QString fullScale = QStringLiteral("  500");   // 5 characters as sent
    QString resolution = QStringLiteral("  1.0");  // 5 characters as sent
    QString unit = QStringLiteral("ppm");
    int points = 1;                                 // decimals of the set points
    float warning = 25.0f;
    float alarm = 50.0f;
    float stel = 100.0f;
    float twa = 25.0f;
    float autoCalib = 0.0f;
    std::int16_t calCoefficient = 100;
    float reading = 0.0f;                           // live reading ("DN,R,")
    bool readingFails = false;                      // "FAIL" instead of a reading
    QString calibDate = QStringLiteral("240305");   // "SO,R,": YYMMDD
    QString calibTime = QStringLiteral("140709");   //         hhnnss
    QString calibBefore = QStringLiteral(" 12.0");  //         5 characters
    QString calibAfter = QStringLiteral(" 50.0");   //         5 characters
};

// What the simulated instrument holds and answers with.
struct FakeInstrumentState {
    QString model = QStringLiteral("KV-5");         // "RC,R," answer
    QString romNumber = QStringLiteral("1203");
    QString sum = QStringLiteral("A5C3");
    std::int32_t batteryMillivolts = 3000;
    std::array<std::int16_t, 5> analog{100, 200, 300, 400, 500};
    QString userId = QStringLiteral("USER01");
    QString stationId = QStringLiteral("ST-7");
    QString serialNo = QStringLiteral("SN123456");
    QString dummySerial = QStringLiteral("DUMMY1");
    QString clock = QStringLiteral("240305140709"); // "HC,R,": YYMMDDhhnnss
    QString specType = QStringLiteral("01");
    QString coldDistricts = QStringLiteral("00");
    QString oxyAlarmType = QStringLiteral("01");
    QString warningType = QStringLiteral("02");
    QString alarmType = QStringLiteral("01");
    QString vibration = QStringLiteral("01");
    QString alarmPassword = QStringLiteral("00");
    QString warmDisp = QStringLiteral("01");
    std::int16_t backLight = 10;
    std::int16_t warmTime = 30;
    std::int16_t airP1 = 11;
    std::int16_t airP2 = -2;
    std::int16_t airO2 = 300;
    std::array<FakeGas, 2> gas;

    FakeInstrumentState();
};

// The simulated instrument: answers the program's requests from a state a
// test sets, over the other end of a pseudo-terminal or in-process through
// a writer function. It records every frame it received, in order.
//
// Multi-block downloads: a test gives the record lines per command
// (SetRecordLines) or the dump bytes (SetDump); the answer goes out in
// blocks of at most 48 lines (ETB), the last ending in EOT; the next block
// follows only the ACK block, and a NAK block gets the last block again.
//
// Faults are tied to the answer of one received frame: frame number n
// (1-based over Frames(), so ClearFrames() restarts the count) or the n-th
// frame carrying a given command text.
class FakeInstrument : public QObject {
    Q_OBJECT
public:
    enum class Fault {
        BadChecksum,       // the answer's checksum digits are wrong
        NakRefusal,        // the instrument refuses: echo + NAK
        Silence,           // no answer at all
        AnswerOnlyToResend,// silent until the same frame arrives again
        BareCr,            // a single CR instead of the answer
        LineCut,           // half the answer, then the line is closed
        CorruptRecordLine, // one record line of the block is garbled
        ForeignAnswer,     // a good answer of another command ("RC,R,",
                           // ending in EOT) goes out instead; a download
                           // moves on as if its block had gone
        LateBlock,         // the answer goes out late: once the program's
                           // next frame (its time-out NAK) has come, which
                           // the instrument answers only after the
                           // program's reply to the late answer
        BlockLeftOut,      // a download skips its next block and sends the
                           // one after it
        UnnumberedBlocks,  // on a download's request: its blocks carry the
                           // same header tokens, so blocks of equal data
                           // (an erased region of a memory dump) go out
                           // as equal frames
        StrayNul,          // a NUL goes ahead of the answer's STX, as a
                           // converter may put on the line
        AnswerLost,        // the instrument acts on the frame (a download
                           // moves on), but its answer is lost on the way
        FrameHeld,         // the frame reaches the instrument only after the
                           // program's next frame, and is acted on after it
        HeldIntoNextRequest,// the instrument acts on the frame, but its
                           // answer is held back until the program's next
                           // request (a frame that is no ACK or NAK block)
                           // arrives, and goes out just before that
                           // request's answer: a block of an earlier request
                           // heard after the next request (SendHeldAnswer
                           // sends it sooner)
        FlushedWithNext,   // the answer is held back and goes out in one
                           // write together with the answer to the
                           // program's next frame (alone, when that frame
                           // gets none), as a stalled converter flushes two
                           // blocks in one read
    };

    explicit FakeInstrument(QObject* parent = nullptr);
    ~FakeInstrument() override;

    // ---- pseudo-terminal ----
    // Opens a pseudo-terminal; the control opens DevicePath().
    bool OpenPty();
    QString DevicePath() const { return m_devicePath; }
    // Closes the line now (the control sees its device go away).
    void CutLine();
    bool LineOpen() const { return m_master >= 0; }

    // ---- in-process ----
    // Answers go to writer instead of a pseudo-terminal; the host's bytes
    // come in through Receive.
    void SetWriter(std::function<void(const QByteArray&)> writer) { m_writer = std::move(writer); }
    void Receive(const QByteArray& bytes);

    // ---- state ----
    FakeInstrumentState& State() { return m_state; }
    // Calibration and maintenance behaviour, and what those commands did.
    FakeCommandState& CommandState() { return m_commandState; }
    // Record lines of a multi-block download, by request text: "DR,R,",
    // "DJ,R,", "DO,R,", "IH,R,1,", "IH,R,2,".
    void SetRecordLines(const QByteArray& request, const QList<QByteArray>& lines);
    // Memory contents of "EP,R," or "EF,R,", sent as hex text, bytesPerBlock
    // bytes per block.
    void SetDump(const QByteArray& request, const QByteArray& bytes, int bytesPerBlock = 256);

    // ---- faults and line behaviour ----
    // times: how many answers in a row from there (-1: for good).
    void AddFault(Fault fault, int frameNo, int times = 1);
    void AddFaultOn(Fault fault, const QByteArray& command, int occurrence = 1, int times = 1);
    void ClearFaults();
    // Sends now an answer held back for the next request
    // (HeldIntoNextRequest): a block heard late, between two requests.
    void SendHeldAnswer();
    // Answers go out in pieces of pieceSize bytes, a few ms apart; with
    // afterCr also cut right after every CR.
    void SetSplit(int pieceSize, bool afterCr = false);
    // Output paced at this many bytes per second (0: as fast as possible).
    void SetByteRate(int bytesPerSecond);

    // ---- recorded ----
    const QList<QByteArray>& Frames() const { return m_frames; }
    // The command text of each recorded frame ("RC,R," ...; the frame
    // between "0001" and ETX, so ACK/NAK blocks end in ACK/NAK).
    QList<QByteArray> Commands() const;
    void ClearFrames();
    qint64 BytesSent() const { return m_bytesSent; }
    // ACK blocks of a download the instrument heard and acted on (one past
    // its last block included), since ClearFrames.
    int AcksHeard() const { return m_acksHeard; }
    qint64 BytesReceived() const { return m_bytesReceived; }

    // The command text of a frame (see Commands).
    static QByteArray CommandOf(const QByteArray& frame);

signals:
    void FrameReceived(const QByteArray& frame);

private:
    struct FaultRule {
        Fault fault;
        int frameNo = 0;           // by number, or
        QByteArray command;        // by command and occurrence
        int occurrence = 0;
        int remaining = 1;         // -1: for good
        bool armed = false;        // reached its first frame
    };
    struct Download {
        QByteArray request;
        QList<QByteArray> blocks;  // command texts of the blocks
        int next = 0;              // block to send after the next ACK
        QByteArray lastBlock;      // last block frame sent (for a NAK)
    };

    // A received frame with its place in Frames() and among the frames of
    // its command.
    struct Incoming {
        QByteArray frame;
        int frameNo = 0;
        int occurrence = 0;
    };

    void OnReadable();
    void HandleFrame(const QByteArray& frame);
    // Answers a frame the instrument hears, sending what the faults held
    // back for it first (HeldIntoNextRequest, FlushedWithNext).
    void Answer(const Incoming& in);
    // The answer itself; every byte of it goes out through send.
    void Respond(const Incoming& in, const std::function<void(const QByteArray&)>& send);
    // Frames that come while a late answer is held back (LateBlock).
    void HoldBack(const Incoming& in);
    // The fault for the answer to a frame (never FrameHeld), or with only
    // set, a rule of that fault alone.
    std::optional<Fault> TakeFault(const QByteArray& command, int occurrence, int frameNo,
                                   std::optional<Fault> only = std::nullopt);
    QByteArray AnswerFor(const QByteArray& command);
    // Writes, calibration and maintenance commands (fake_commands.cpp);
    // nothing for any other command.
    std::optional<QByteArray> CommandAnswer(const QByteArray& command);
    void StartDownload(const QByteArray& request, bool numbered = true);
    QByteArray BlockFrame(int index, bool corrupt);
    void Send(const QByteArray& bytes);
    void Drain();
    qsizetype WriteOut(const QByteArray& bytes);
    void Close();

    FakeInstrumentState m_state;
    FakeCommandState m_commandState;
    int m_master = -1;
    int m_slave = -1;
    QString m_devicePath;
    QSocketNotifier* m_notifier = nullptr;
    std::function<void(const QByteArray&)> m_writer;

    QByteArray m_in;
    QList<QByteArray> m_frames;
    QHash<QByteArray, int> m_commandCounts;
    QList<FaultRule> m_faults;
    QByteArray m_awaitResend;
    bool m_cutPending = false;

    QHash<QByteArray, QList<QByteArray>> m_recordLines;
    QHash<QByteArray, QPair<QByteArray, int>> m_dumps;
    Download m_download;
    bool m_corruptNextBlock = false;

    // LateBlock: 1 while the late answer waits for the program's next
    // frame, 2 while that frame waits for the program's reply to it.
    int m_lateStage = 0;
    QByteArray m_lateAnswer;
    QList<Incoming> m_heldFrames;
    // FrameHeld: the frame that waits for the program's next one.
    std::optional<Incoming> m_heldFrame;
    // HeldIntoNextRequest: the answer that waits for the next request.
    QByteArray m_heldForRequest;
    // FlushedWithNext: the answer that goes out with the next one.
    QByteArray m_heldForNext;

    // Output.
    QList<QByteArray> m_out;      // pieces still to write
    QTimer* m_drainTimer = nullptr;
    int m_pieceSize = 0;
    bool m_splitAfterCr = false;
    int m_byteRate = 0;
    QElapsedTimer m_rateClock;
    qint64 m_rateBytes = 0;
    qint64 m_bytesSent = 0;
    int m_acksHeard = 0;
    qint64 m_bytesReceived = 0;
};
