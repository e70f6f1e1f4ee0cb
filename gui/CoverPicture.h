#pragma once
// A book's cover picture: Images/<key as five digits>.jpg in the program directory
// (PicturePath). The picture panel of the main window, its picture command and the edit
// dialog's picture page all read, replace and delete it here, the same way.

#include <QImage>
#include <QString>

namespace kodexa {

// The book's picture, or a null image when there is none or it is no readable picture.
QImage ReadCoverPicture(qint64 key);
// Makes the picture file at source the book's picture. It is read and checked first and
// written whole or not at all, so a file that is no picture never replaces a good cover.
// FileError (Hungarian, naming the file) when it cannot be read, is no picture or cannot
// be written.
void StoreCoverPicture(const QString &source, qint64 key);
// true when the book has a picture file (readable or not).
bool HasCoverPicture(qint64 key);
// Removes the book's picture; FileError when the file stays.
void DeleteCoverPicture(qint64 key);

} // namespace kodexa
