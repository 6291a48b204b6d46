#include "common/fileerror.h"

#include <QFileDevice>
#include <QFileInfo>

#include <cerrno>

namespace common {

QString FileErrorText(int errnum) {
    switch (errnum) {
    case ENOSPC:
#ifdef EDQUOT
    case EDQUOT:
#endif
        return QStringLiteral("磁盘空间不足");
    case EFBIG: return QStringLiteral("文件超出了系统允许的大小（磁盘空间不足）");
    case EACCES:
    case EPERM: return QStringLiteral("没有写入权限");
    case EROFS: return QStringLiteral("磁盘是只读的");
    case ENOENT: return QStringLiteral("文件或文件夹不存在");
    case ENOTDIR: return QStringLiteral("路径中有一项不是文件夹");
    case EISDIR: return QStringLiteral("同名的文件夹已存在");
    case ENAMETOOLONG: return QStringLiteral("文件名太长");
    case ELOOP: return QStringLiteral("符号链接层数太多或指向自身");
    case EIO: return QStringLiteral("磁盘读写出错");
    case EMFILE:
    case ENFILE: return QStringLiteral("打开的文件太多");
    case EBUSY:
    case ETXTBSY: return QStringLiteral("文件正被使用");
    case 0: return QStringLiteral("文件操作失败");
    default: return QStringLiteral("文件操作失败（系统错误号 %1）").arg(errnum);
    }
}

QString FileErrorText(const QFileDevice& file) {
    const int saved = errno;
    switch (file.error()) {
    case QFileDevice::NoError: return FileErrorText(0);
    case QFileDevice::PermissionsError: return FileErrorText(EACCES);
    case QFileDevice::ResourceError:
        if (saved == 0) return FileErrorText(ENOSPC);
        break;
    default: break;
    }
    if (saved == 0 && !QFileInfo::exists(file.fileName())) return FileErrorText(ENOENT);
    return FileErrorText(saved);
}

}  // namespace common
