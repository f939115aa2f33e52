#include "Reasons.h"

#include <QFileDevice>

#include <cerrno>

QString teacherReason(int errorNumber)
{
    switch (errorNumber) {
    case ENOSPC:
        return QStringLiteral("ディスクがいっぱいです。いらないファイルを消して空きを作ってください");
#ifdef EDQUOT
    case EDQUOT:
        return QStringLiteral("使えるディスクの容量の上限に達しました。いらないファイルを消すか、管理者に相談してください");
#endif
    case EACCES:
    case EPERM:
        return QStringLiteral("書き込む権限がありません。フォルダーやファイルの設定を確かめてください");
    case EROFS:
        return QStringLiteral("読み取り専用のディスクです。書き込みできる場所で使ってください");
    case EIO:
        return QStringLiteral("ディスクへの読み書きに失敗しました。USB メモリーやネットワークのつながりを確かめてください");
    case ENOENT:
    case ENOTDIR:
        return QStringLiteral("フォルダーが見つかりません。USB メモリーが抜けていないか確かめてください");
    case ENXIO:
    case ENODEV:
        return QStringLiteral("装置が見つかりません。USB メモリーが抜けていないか確かめてください");
    case EISDIR:
        return QStringLiteral("同じ名前のフォルダーがあります");
    case EEXIST:
        return QStringLiteral("同じ名前のファイルがもうあります");
    case EFBIG:
#ifdef EOVERFLOW
    case EOVERFLOW:
#endif
        return QStringLiteral("ファイルが大きすぎます");
    case EBUSY:
#ifdef ETXTBSY
    case ETXTBSY:
#endif
        return QStringLiteral("ほかのソフトが使用中です。ほかのソフトを閉じてからもう一度保存してください");
    case EAGAIN:
#ifdef ENOLCK
    case ENOLCK:
#endif
        return QStringLiteral("ほかのソフトが使用中です。少し待ってからもう一度試してください");
    case EMFILE:
    case ENFILE:
        return QStringLiteral("開いているファイルが多すぎます。ほかのソフトを閉じてからもう一度保存してください");
    case ENOMEM:
        return QStringLiteral("メモリーが足りません。ほかのソフトを閉じてからもう一度試してください");
#ifdef ELOOP
    case ELOOP:
        return QStringLiteral("リンクが循環しています");
#endif
    case ENAMETOOLONG:
        return QStringLiteral("ファイルの場所の名前が長すぎます");
    case EXDEV:
        return QStringLiteral("別のディスクへは移せません");
    case EINVAL:
        return QStringLiteral("このディスクではできない操作です");
#ifdef ENOTSUP
    case ENOTSUP:
        return QStringLiteral("このディスクではできない操作です");
#endif
#ifdef ESTALE
    case ESTALE:
#endif
#ifdef ETIMEDOUT
    case ETIMEDOUT:
#endif
#ifdef ECONNRESET
    case ECONNRESET:
#endif
#ifdef ENETDOWN
    case ENETDOWN:
#endif
#ifdef ENETUNREACH
    case ENETUNREACH:
#endif
#ifdef EHOSTUNREACH
    case EHOSTUNREACH:
#endif
#ifdef EHOSTDOWN
    case EHOSTDOWN:
#endif
        return QStringLiteral("ネットワークのフォルダーとのつながりが切れました。つながりを確かめてからもう一度試してください");
    default:
        break;
    }
    // The system's own words are not for the teacher; the number is for whoever helps her.
    return QStringLiteral("システムのエラーです（番号 %1）。もう一度試しても同じときは、管理者に相談してください").arg(errorNumber);
}

QString readingReason(int errorNumber)
{
    if (errorNumber == EACCES || errorNumber == EPERM)
        return QStringLiteral("読む権限がありません。ファイルの設定を確かめてください");
    return teacherReason(errorNumber);
}

QString fileDeviceReason(const QFileDevice &file)
{
    switch (file.error()) {
    case QFileDevice::ResourceError: // what Qt makes of a full disk
        return teacherReason(ENOSPC);
    case QFileDevice::PermissionsError:
        return teacherReason(EACCES);
    case QFileDevice::OpenError:
        return QStringLiteral("ファイルを開けません。フォルダーがあるか、書き込めるかを確かめてください");
    default:
        break;
    }
    return teacherReason(EIO);
}
