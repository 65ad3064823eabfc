#pragma once
// Renderings against golden pictures kept beside the tests (Golden/NAME.png).
// A difference fails and writes NAME.actual.png and NAME.diff.png (changed
// pixels red) into golden-failures/ of the working folder. A golden picture
// that is missing is written from the rendering when ZELL_UPDATE_GOLDEN is
// set, and fails the test otherwise.
#include <cairo.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace UiTest {

// The folder comes from the build, not from __FILE__: a compiler cache may
// hand the compiler a relative path, which ctest's working folder breaks.
inline std::filesystem::path GoldenFolder()
{
#ifdef ZELL_UI_GOLDEN_DIR
    return ZELL_UI_GOLDEN_DIR;
#else
    return std::filesystem::path(__FILE__).parent_path() / "Golden";
#endif
}

inline std::uint32_t RgbAt(cairo_surface_t* s, int x, int y)
{
    const auto* row = cairo_image_surface_get_data(s) + static_cast<std::size_t>(y) * cairo_image_surface_get_stride(s);
    return reinterpret_cast<const std::uint32_t*>(row)[x] & 0xFFFFFFu;
}

// Writes the picture of the differences; returns how many pixels differ.
inline int WriteDifference(cairo_surface_t* golden, cairo_surface_t* actual, const std::filesystem::path& path)
{
    const int width = cairo_image_surface_get_width(actual);
    const int height = cairo_image_surface_get_height(actual);
    cairo_surface_t* diff = cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height);
    auto* data = cairo_image_surface_get_data(diff);
    const int stride = cairo_image_surface_get_stride(diff);
    int differing = 0;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const std::uint32_t a = RgbAt(actual, x, y);
            const bool same = x < cairo_image_surface_get_width(golden) && y < cairo_image_surface_get_height(golden) &&
                              RgbAt(golden, x, y) == a;
            differing += same ? 0 : 1;
            // Unchanged pixels faded, changed ones red.
            const std::uint32_t faded = ((a >> 2) & 0x3F3F3Fu) + 0xA0A0A0u;
            reinterpret_cast<std::uint32_t*>(data + static_cast<std::size_t>(y) * stride)[x] = same ? faded : 0xFF0000u;
        }
    }
    cairo_surface_mark_dirty(diff);
    cairo_surface_write_to_png(diff, path.c_str());
    cairo_surface_destroy(diff);
    return differing;
}

// `folder` holds the golden pictures of tests that live elsewhere.
inline ::testing::AssertionResult MatchesGolden(const std::string& renderedPng, const std::string& name,
                                                const std::filesystem::path& folder = GoldenFolder())
{
    const std::filesystem::path golden = folder / (name + ".png");
    if (!std::filesystem::exists(golden)) {
        if (std::getenv("ZELL_UPDATE_GOLDEN") == nullptr)
            return ::testing::AssertionFailure() << "no golden picture " << golden << " (set ZELL_UPDATE_GOLDEN to write it)";
        std::filesystem::copy_file(renderedPng, golden);
        return ::testing::AssertionSuccess() << "golden picture written";
    }
    cairo_surface_t* expected = cairo_image_surface_create_from_png(golden.c_str());
    cairo_surface_t* actual = cairo_image_surface_create_from_png(renderedPng.c_str());
    ::testing::AssertionResult result = ::testing::AssertionSuccess();
    if (cairo_surface_status(expected) != CAIRO_STATUS_SUCCESS || cairo_surface_status(actual) != CAIRO_STATUS_SUCCESS) {
        result = ::testing::AssertionFailure() << "cannot read " << golden << " or " << renderedPng;
    } else {
        cairo_surface_flush(expected);
        cairo_surface_flush(actual);
        const bool sameSize = cairo_image_surface_get_width(expected) == cairo_image_surface_get_width(actual) &&
                              cairo_image_surface_get_height(expected) == cairo_image_surface_get_height(actual);
        const std::filesystem::path failures = std::filesystem::current_path() / "golden-failures";
        std::filesystem::create_directories(failures);
        const int differing = WriteDifference(expected, actual, failures / (name + ".diff.png"));
        if (!sameSize || differing != 0) {
            std::filesystem::copy_file(renderedPng, failures / (name + ".actual.png"),
                                       std::filesystem::copy_options::overwrite_existing);
            result = ::testing::AssertionFailure() << name << ": " << differing << " pixels differ"
                                                   << (sameSize ? "" : " and the size changed") << "; see " << failures;
        } else {
            std::filesystem::remove(failures / (name + ".diff.png"));
        }
    }
    cairo_surface_destroy(expected);
    cairo_surface_destroy(actual);
    return result;
}

}
