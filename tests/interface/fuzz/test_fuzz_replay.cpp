// Replays every input of the checked-in corpus through the fuzz entry point,
// so each input the fuzzer ever found stays a test.
#include "fuzz_receive.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

TEST(FuzzReplay, CorpusRunsThroughTheReceivePath)
{
    const QDir dir(QStringLiteral(PELKAR_SOURCE_DIR "/tests/interface/fuzz/corpus"));
    const QStringList files = dir.entryList(QDir::Files, QDir::Name);
    ASSERT_FALSE(files.isEmpty());
    for (const QString& name : files) {
        SCOPED_TRACE(name.toStdString());
        QFile f(dir.filePath(name));
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        const QByteArray bytes = f.readAll();
        EXPECT_EQ(FuzzReceiveOneInput(reinterpret_cast<const uint8_t*>(bytes.constData()),
                                      static_cast<size_t>(bytes.size())),
                  0);
    }
}
