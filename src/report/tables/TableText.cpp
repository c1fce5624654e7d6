#include "report/tables/TableText.h"

#include "platform/Runtime.h"
#include "report/TableHeadings.h"

namespace report {

namespace {

int CharCells(QChar c)
{
    const char16_t u = c.unicode();
    return (u < 0x100 || (u >= 0xFF61 && u <= 0xFF9F)) ? 1 : 2;
}

}  // namespace

int TextCells(const QString& text)
{
    int cells = 0;
    for (QChar c : text) cells += CharCells(c);
    return cells;
}

QString RightCells(const QString& text, int cells)
{
    int used = 0;
    qsizetype start = text.size();
    while (start > 0 && used + CharCells(text[start - 1]) <= cells) {
        --start;
        used += CharCells(text[start]);
    }
    return Blanks(cells - used) + text.mid(start);
}

QString ExponentField(float value)
{
    return (QStringLiteral(" ") + rt::Format(value, QStringLiteral("0.0000E+00"))).right(11);
}

double MomentPerMetre(float stored, MomentScale scale)
{
    return scale == MomentScale::TimesHundredth ? static_cast<double>(stored) * 0.01 : static_cast<double>(stored) / 100;
}

QString StoredValueText(const ValueColumn& column, float stored, MomentScale scale)
{
    switch (column.kind) {
    case ValueKind::Exponent: return ExponentField(stored);
    case ValueKind::Moment: return FormatFixedWidth(MomentPerMetre(stored, scale), 5, 3);
    case ValueKind::Force: break;
    }
    return FormatFixedWidth(stored, 5, 3);
}

QString CombinedValueText(const ValueColumn& column, float value)
{
    return column.kind == ValueKind::Exponent ? ExponentField(value) : FormatFixedWidth(value, 5, 3);
}

QString PrintingErrorText(const QString& topic)
{
    return topic + QStringLiteral("に関するデータをプリント中にエラーが発生しました。\r\n"
                                  "現在のデータに対して解析処理を実行してから、もう一度プレビュー処理を実行して下さい。");
}

void MissingRow() { rt::Raise(rt::ErrNoCurrentRecord, QStringLiteral("カレント レコードがありません。")); }

void RequireLoadCase(int caseNo)
{
    if (caseNo < 1 || caseNo > 10) rt::Raise(rt::ErrOverflow, QStringLiteral("荷重ケース番号が 1 ～ 10 の範囲にありません。"));
}

}  // namespace report
