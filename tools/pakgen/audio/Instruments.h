// The instruments of our little synthesiser. Each renders one note into a
// fresh mono buffer that starts at the note-on and runs until its release or
// decay has died away; the sequencer places and pans the buffers.
#pragma once

#include <cstdint>

#include "Dsp.h"

namespace PakAudio {

// Pitched voices. Freq in Hz, Gate = seconds the key is held, Velocity 0..1.
TMono RenderLead(double Freq, double Gate, float Velocity);   // bright saw + pulse lead with vibrato
TMono RenderSoftLead(double Freq, double Gate, float Velocity);  // rounder triangle/sine lead for harmonies
TMono RenderBass(double Freq, double Gate, float Velocity);   // punchy filtered saw bass with sub
TMono RenderPadVoice(double Freq, double Gate, float Velocity, std::uint32_t Seed);  // detuned saw stack
TMono RenderPluck(double Freq, double Gate, float Velocity);  // short filtered pluck for arpeggios
TMono RenderBell(double Freq, double Decay, float Velocity, double Ratio = 3.5, double Index = 3.0);  // two-operator FM
TMono RenderBrass(double Freq, double Gate, float Velocity);  // fanfare brass, filter opens on attack

// Drums and noises; Seed picks the noise so hits differ slightly.
TMono RenderKick(float Velocity);
TMono RenderSnare(float Velocity, std::uint32_t Seed);
TMono RenderClap(float Velocity, std::uint32_t Seed);
TMono RenderHat(bool Open, float Velocity, std::uint32_t Seed);
TMono RenderCrash(float Velocity, std::uint32_t Seed);
TMono RenderTom(double Freq, float Velocity, std::uint32_t Seed);  // also a soft timpani
TMono RenderRiser(double Seconds, float Velocity, std::uint32_t Seed);  // noise sweep up to a downbeat

}  // namespace PakAudio
