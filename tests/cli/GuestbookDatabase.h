#pragma once

#include "support/TempDir.h"

#include <gtest/gtest.h>

// A new database in dir, "d.fdb", holding the guestbook sample's twelve
// responses.
inline QString GuestbookDatabase(TempDir& dir)
{
    const QString db = dir.File("d.fdb");
    QByteArray out, err;
    EXPECT_EQ(RunCli({"create", db}, &out, &err), 0);
    EXPECT_EQ(RunCli({"import", db, QStringLiteral(TALLOWMERE_RESOURCES "/samples/guestbook.txt")},
                     &out, &err),
              0)
        << err.constData();
    return db;
}
