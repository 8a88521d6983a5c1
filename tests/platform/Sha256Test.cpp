#include "platform/Sha256.h"

#include <QCryptographicHash>
#include <gtest/gtest.h>

TEST(Sha256, AgreesWithQtsHashForPiecesOfEverySize)
{
    QByteArray text;
    for (int i = 0; i < 20000; ++i)
        text.append(char('a' + i % 26));
    Sha256 hash;
    EXPECT_EQ(hash.Result().toHex(),
              "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
    // Pieces smaller than, as large as and larger than what is gathered.
    for (const qsizetype piece : {1, 7, 4095, 4096, 9000}) {
        for (qsizetype at = 0; at < text.size(); at += piece)
            hash.Add(QByteArrayView(text).sliced(at, std::min(piece, text.size() - at)));
        EXPECT_EQ(hash.Result(), QCryptographicHash::hash(text, QCryptographicHash::Sha256))
            << piece;
    }
}
