#include "app/app_icon.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QList>
#include <QPixmap>
#include <QSize>

namespace varnola {
namespace {

TEST(ApplicationIconTest, HoldsEveryRenderedSizeFromTheResources) {
  const QIcon icon = ApplicationIcon();
  ASSERT_FALSE(icon.isNull()) << "the icon resources are not linked into the program";
  const QList<QSize> sizes = icon.availableSizes();
  for (const int size : {16, 24, 32, 48, 64, 128, 256}) {
    EXPECT_TRUE(sizes.contains(QSize(size, size))) << size << "x" << size << " missing";
  }
  // Drawn, not blank: the corner stays transparent, the tile in the middle is opaque.
  const QImage image = icon.pixmap(QSize(48, 48)).toImage();
  ASSERT_EQ(image.size(), QSize(48, 48));
  EXPECT_EQ(qAlpha(image.pixel(0, 0)), 0);
  EXPECT_EQ(qAlpha(image.pixel(24, 24)), 255);
}

}  // namespace
}  // namespace varnola
