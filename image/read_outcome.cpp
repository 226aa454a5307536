#include "image/read_outcome.h"

namespace kavrel::image {
namespace {

constexpr std::string_view kRefusalStart = "Le fichier « ";
constexpr std::string_view kRefusalMiddle = " » n'a pas pu être lu : ";
constexpr std::string_view kTooLargeStart = "l'image est trop grande (";
constexpr std::string_view kTooLargeTimes = " × ";
constexpr std::string_view kTooLargeEnd = " pixels, au plus 200 millions)";
constexpr std::string_view kBits = " bits";
constexpr std::string_view kIntegers = " entiers";
constexpr std::string_view kFloats = " en virgule flottante";
constexpr std::string_view kColour = ", couleur ramenée à la luminance";

}  // namespace

std::string ImageReadOutcome::description() const {
  std::string text = format;
  if (bitsPerSample > 0) {
    text += ", " + std::to_string(bitsPerSample);
    text += kBits;
    text += floatSamples ? kFloats : kIntegers;
  }
  if (colour) text += kColour;
  return text;
}

ImageReadOutcome refused(std::string_view fileName, std::string_view reason) {
  ImageReadOutcome outcome;
  outcome.refusal.reserve(kRefusalStart.size() + fileName.size() + kRefusalMiddle.size() + reason.size() + 1);
  outcome.refusal += kRefusalStart;
  outcome.refusal += fileName;
  outcome.refusal += kRefusalMiddle;
  outcome.refusal += reason;
  outcome.refusal += '.';
  return outcome;
}

std::string tooLargeReason(std::int64_t width, std::int64_t height) {
  std::string text(kTooLargeStart);
  text += std::to_string(width);
  text += kTooLargeTimes;
  text += std::to_string(height);
  text += kTooLargeEnd;
  return text;
}

}  // namespace kavrel::image
