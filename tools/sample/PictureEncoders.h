#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>
#include <QStringList>

// Picture files of every format an exam installation may name for its cover pictures. Qt writes
// JPEG, PNG and BMP itself; GIF, TIFF, PSD, WMF and EMF are written here by hand, small but
// structurally valid, so that tests can feed each format to the code that reads picture
// headers without depending on optional image plug-ins.
namespace examora::sample {

// The format names EncodePicture understands, lower case, without the dot:
// "jpg", "jpeg", "png", "bmp", "gif", "tif", "tiff", "psd", "wmf", "emf".
QStringList SupportedPictureFormats();

// The file bytes of the picture in the named format (case-insensitive, with or without a
// leading dot); empty for an unknown format or an encoding failure. WMF and EMF are vector
// formats: they get a filled rectangle of the picture's size in its top-left pixel's colour.
QByteArray EncodePicture(const QImage& image, const QString& format);

// GIF87a with a 256-entry global colour table. The image data is LZW with a clear code before
// the code table would grow past 9 bits, which every decoder reads.
QByteArray EncodeGif(const QImage& image);

// Uncompressed baseline RGB TIFF with one strip. bigEndian chooses "MM" instead of "II";
// shortDimensions stores width and height as SHORT (type 3) rather than LONG (type 4).
QByteArray EncodeTiff(const QImage& image, bool bigEndian = false, bool shortDimensions = true);

// Photoshop file, RGB, 8 bits per channel, raw (uncompressed) planar image data.
QByteArray EncodePsd(const QImage& image);

// Placeable Windows metafile (bounding box 0,0 - width,height) drawing one filled rectangle.
QByteArray EncodeWmf(int width, int height, QRgb fill);

// Enhanced metafile with bounds 0,0 - width-1,height-1 drawing one filled rectangle.
QByteArray EncodeEmf(int width, int height, QRgb fill);

}  // namespace examora::sample
