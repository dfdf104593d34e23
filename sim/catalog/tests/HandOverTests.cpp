// Hand-over payload tests: what the script host sends is what the viewer reads.
#include "common/HandOver.h"

#include <gtest/gtest.h>

namespace catalog {
namespace {

TEST(HandOver, CarriesAllOptionsIncludingBlanksInTheMident) {
    CatalogOptions options;
    options.cadName = "BRENVIKCAD";
    options.path = "C:\\Temp\\tarnvel_output_4242.sat";
    options.format = "STEP";
    options.mident = "{$iso4032/iso4032.prj},ISO4032 ";
    options.hasMident = true;
    options.language = "english";

    const auto decoded = decodeHandOver(encodeHandOver(options));
    ASSERT_TRUE(decoded.ok()) << decoded.error;
    EXPECT_EQ(decoded.value.cadName, options.cadName);
    EXPECT_EQ(decoded.value.path, options.path);
    EXPECT_EQ(decoded.value.format, options.format);
    EXPECT_EQ(decoded.value.mident, options.mident);
    EXPECT_TRUE(decoded.value.hasMident);
    EXPECT_EQ(decoded.value.language, options.language);
}

TEST(HandOver, KnowsWhenThereIsNoMident) {
    CatalogOptions options;
    options.path = "p";
    const auto decoded = decodeHandOver(encodeHandOver(options));
    ASSERT_TRUE(decoded.ok());
    EXPECT_FALSE(decoded.value.hasMident);
}

TEST(HandOver, RefusesGarbage) {
    EXPECT_FALSE(decodeHandOver("path=p\nnonsense\n").ok());
    EXPECT_FALSE(decodeHandOver("path=p\ncolour=red\n").ok());
    EXPECT_FALSE(decodeHandOver("format=SAT\n").ok());
}

}  // namespace
}  // namespace catalog
