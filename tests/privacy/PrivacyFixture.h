#pragma once

#include "database/DatabaseFixture.h"

#include <SQLiteCpp/Statement.h>
#include <gtest/gtest.h>
#include <utility>
#include <vector>

// A database whose records are written directly: a name, notes, a date
// and fields, for the retention and person searches.
struct PrivacyFixture : DatabaseFixture {
    PrivacyFixture() { CreateAndOpen(); }

    qint64 Add(const char* name, const char* notes, const char* date,
               const std::vector<std::pair<const char*, const char*>>& fields)
    {
        SQLite::Statement form(Db(), "INSERT INTO Forms (Form_Name, Form_Notes, Form_Date) "
                                     "VALUES (?, ?, ?)");
        form.bind(1, name);
        form.bind(2, notes);
        if (date)
            form.bind(3, date);
        form.exec();
        const qint64 id = Db().getLastInsertRowid();
        SQLite::Statement field(Db(), "INSERT INTO Data (Field_Name, Field_Value, FormID) "
                                      "VALUES (?, ?, ?)");
        for (const auto& [fieldName, value] : fields) {
            field.reset();
            field.bind(1, fieldName);
            field.bind(2, value);
            field.bind(3, static_cast<int64_t>(id));
            field.exec();
        }
        return id;
    }

    // Opens the database again, its field-names list made from the fields
    // written, so the session sees the records as an import leaves them.
    void Reopen()
    {
        Db().exec("UPDATE Info SET Value = (SELECT group_concat(Field_Name, char(13, 10)) FROM "
                  "(SELECT DISTINCT Field_Name FROM Data)) WHERE Key = 'FieldNamesList'");
        ASSERT_TRUE(OpenResumeDatabase(session, session.Database.CurrentDatabasePath));
        ui.messages.clear();
        ui.statusTexts.clear();
    }
};
