// A small file system of a test's own, to meet a really full disk: a tmpfs
// mounted on a fresh folder for as long as the object lives. Mounting needs
// the right to mount (root); a test skips with WhyNot() where it is missing.
#pragma once

#include <QString>

namespace testenv {

class SmallDisk {
public:
    explicit SmallDisk(qint64 bytes = 256 * 1024);
    ~SmallDisk();
    SmallDisk(const SmallDisk&) = delete;
    SmallDisk& operator=(const SmallDisk&) = delete;

    bool Mounted() const { return mounted_; }
    QString WhyNot() const { return whyNot_; }
    // The mounted folder.
    QString Path() const { return path_; }
    // Takes every byte still free, so that the next write of new data fails
    // with "no space left"; false when the disk would not fill.
    bool Fill();

private:
    QString path_;
    QString whyNot_;
    bool mounted_ = false;
};

}  // namespace testenv
