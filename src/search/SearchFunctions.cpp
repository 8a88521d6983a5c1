#include "search/SearchFunctions.h"

#include "search/LikePattern.h"

#include <QString>
#include <sqlite3.h>

namespace {

// State shared by the calls of one registered function on one connection.
struct FoldContext {
    QString left;
    QString right;
};

void DeleteFoldContext(void* p)
{
    delete static_cast<FoldContext*>(p);
}

void DeletePattern(void* p)
{
    delete static_cast<LikePattern*>(p);
}

// like(pattern, value): "value LIKE pattern" in SQL.
void LikeFunction(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL || sqlite3_value_type(argv[1]) == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
    }
    const auto* compiled = static_cast<const LikePattern*>(sqlite3_get_auxdata(ctx, 0));
    std::optional<LikePattern> local;
    if (!compiled) {
        const auto* text = reinterpret_cast<const char*>(sqlite3_value_text(argv[0]));
        const int length = sqlite3_value_bytes(argv[0]);
        QString error;
        local = LikePattern::Compile(QString::fromUtf8(text, length), &error);
        if (!local) {
            const QByteArray utf8 = error.toUtf8();
            sqlite3_result_error(ctx, utf8.constData(), int(utf8.size()));
            return;
        }
        // Kept for the next rows of the statement when the pattern is a
        // constant or a bound value; the engine may drop it at once.
        sqlite3_set_auxdata(ctx, 0, new LikePattern(*local), DeletePattern);
        compiled = &*local;
    }
    const auto* value = reinterpret_cast<const char*>(sqlite3_value_text(argv[1]));
    const int length = sqlite3_value_bytes(argv[1]);
    sqlite3_result_int(ctx, compiled->MatchesUtf8(value, length) ? 1 : 0);
}

int CompareFolded(void* user, int leftLength, const void* leftData, int rightLength,
                  const void* rightData)
{
    const auto* a = static_cast<const unsigned char*>(leftData);
    const auto* b = static_cast<const unsigned char*>(rightData);
    int i = 0;
    // Plain ASCII compares byte by byte, folded; the first byte outside
    // ASCII hands the rest of both texts to the Unicode comparison.
    while (i < leftLength && i < rightLength) {
        const unsigned char x = a[i];
        const unsigned char y = b[i];
        if (x >= 128 || y >= 128)
            break;
        const unsigned char fx = (x >= 'A' && x <= 'Z') ? x + 32 : x;
        const unsigned char fy = (y >= 'A' && y <= 'Z') ? y + 32 : y;
        if (fx != fy)
            return fx < fy ? -1 : 1;
        ++i;
    }
    if (i == leftLength || i == rightLength) {
        if (i < leftLength || i < rightLength) {
            // One text has more left; it is still equal only if the rest
            // is empty, which it is not.
            return i == leftLength ? -1 : 1;
        }
        return 0;
    }
    auto* context = static_cast<FoldContext*>(user);
    context->left = QString::fromUtf8(reinterpret_cast<const char*>(a + i), leftLength - i);
    context->right = QString::fromUtf8(reinterpret_cast<const char*>(b + i), rightLength - i);
    const std::u32string l = FoldedCodePoints(context->left);
    const std::u32string r = FoldedCodePoints(context->right);
    return l < r ? -1 : (r < l ? 1 : 0);
}

} // namespace

bool RegisterSearchFunctions(sqlite3* db, const char** error)
{
    int rc = sqlite3_create_function_v2(db, "like", 2,
                                        SQLITE_UTF8 | SQLITE_DETERMINISTIC | SQLITE_INNOCUOUS,
                                        nullptr, LikeFunction, nullptr, nullptr, nullptr);
    if (rc == SQLITE_OK) {
        auto* context = new FoldContext;
        rc = sqlite3_create_collation_v2(db, kFoldCollation, SQLITE_UTF8, context, CompareFolded,
                                         DeleteFoldContext);
        if (rc != SQLITE_OK)
            delete context; // the engine keeps nothing it refused
    }
    if (rc != SQLITE_OK && error)
        *error = sqlite3_errmsg(db);
    return rc == SQLITE_OK;
}
