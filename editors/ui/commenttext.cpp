#include "editors/ui/commenttext.h"

#include <QStringDecoder>

QString CommentText(const std::string& bytes, bool japanese) {
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
    if (!utf8.hasError()) return text;
    QStringDecoder legacy(japanese ? "Shift-JIS" : "windows-1252");
    if (!legacy.isValid()) return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
    return legacy.decode(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
}
