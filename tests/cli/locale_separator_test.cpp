// The decimal separator kavrel reads from a locale's name without Qt, against the one Qt
// gives the windows for the same name: one row per kind of name an environment holds.
#include <gtest/gtest.h>

#include <QLocale>

#include "cli/locale_separator.h"

namespace {

TEST(LocaleSeparator, TheWindowsSeparator) {
  for (const char* name : {"fr_FR.UTF-8", "fr_FR", "fr_CA.UTF-8", "fr_CH.UTF-8", "de_DE.UTF-8", "de_CH.UTF-8",
                           "en_US.UTF-8", "en_GB", "en_ZA.UTF-8", "en_IN", "es_ES.UTF-8", "es_MX.UTF-8", "pt_BR",
                           "it_IT@euro", "fr_FR.ISO-8859-15@euro", "nb_NO.UTF-8", "no_NO.UTF-8", "ru_RU.UTF-8",
                           "ar_EG.UTF-8", "fa_IR.UTF-8", "hi_IN", "zh_CN.GB18030", "sr_RS@latin", "sr-Latn-RS",
                           "fr", "de", "fr_US.UTF-8", "C", "C.UTF-8", "POSIX", "xx_YY", "", "fil_PH", "tl_PH", "iw_IL", "ast_ES"}) {
    SCOPED_TRACE(name);
    EXPECT_EQ(kavrel::cli::decimalSeparatorOf(name), QLocale(QString::fromLatin1(name)).decimalPoint().toStdString());
  }
}

}  // namespace
