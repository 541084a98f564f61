// The phone's sounds heard on the host: wave files converted to one output
// format and played through SDL2's audio. Only the host window uses it.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace platform {

// Every sound is played as signed 16-bit stereo samples at 44.1 kHz,
// interleaved left and right.
inline constexpr int kHostAudioRate = 44100;
inline constexpr int kHostAudioChannels = 2;

// The samples of a RIFF wave file (PCM, float, ADPCM or mu/A-law, any rate
// and channel count) in the output format; false for anything else.
bool ConvertWaveForHost(std::string_view file, std::vector<int16_t>* samples);

// Plays the samples instead of the sound now playing; with `wait`, returns
// once they have been heard. Where the host has no audio device that can be
// opened, nothing is played and nothing is said.
void PlayOnHost(const std::vector<int16_t>& samples, bool wait);

// Stops the sound now playing; does nothing when no sound was ever played.
void StopHostSound();

}  // namespace platform
