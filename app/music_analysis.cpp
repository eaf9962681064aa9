// Tempo analysis: the onset detector and the beat tracker of the analysis
// library give onsets and a first guess of the period; the rest is fitting.
//
// Each onset's weight is how much louder the next ODD_WINDOW seconds are than
// the ones before, so kicks and bass notes outweigh hats and the beat is
// where the weight is. The period is searched around the guess (and its
// double and half) for the grid that puts the most weight on beats; the
// beat level is the fastest grid whose every other beat weighs about as much
// as the ones between.
#include "app/music_analysis.h"

#include <aubio/aubio.h>

#include <algorithm>
#include <cmath>

namespace {

const int BUFFER = 1024;
const int HOP = 256;
const double TOLERANCE = 0.035;      // seconds an onset may be off its beat
const double WEIGHT_WINDOW = 0.06;   // seconds each side of an onset its weight compares
const double SILENCE_DB = -60;       // the detectors' silence gate
const double SEARCH = 0.04;          // the period is searched this share either side of the guess
const double DRIFT = 0.002;          // period step: this many seconds of drift over the piece
const double ALIKE = 0.4;            // every other beat this strong as the rest: still the beat level
const double MIN_BPM = 40, MAX_BPM = 300;

// Runs the onset detector (`onsets` not null) or the beat tracker over the
// piece: the times they mark.
std::vector<double> detect(const float* mono, size_t count, int rate, bool onsets) {
    std::vector<double> times;
    aubio_onset_t* onset = onsets ? new_aubio_onset("specflux", BUFFER, HOP, uint_t(rate)) : nullptr;
    aubio_tempo_t* tempo = onsets ? nullptr : new_aubio_tempo("default", BUFFER, HOP, uint_t(rate));
    if (!onset && !tempo) return times;
    if (onset) aubio_onset_set_silence(onset, smpl_t(SILENCE_DB));
    if (onset) aubio_onset_set_minioi_ms(onset, 50);
    if (tempo) aubio_tempo_set_silence(tempo, smpl_t(SILENCE_DB));
    fvec_t* in = new_fvec(HOP);
    fvec_t* found = new_fvec(1);
    for (size_t at = 0; at < count; at += HOP) {
        for (size_t i = 0; i < size_t(HOP); ++i) in->data[i] = at + i < count ? mono[at + i] : 0.0f;
        if (onset) aubio_onset_do(onset, in, found);
        else aubio_tempo_do(tempo, in, found);
        if (found->data[0] != 0) times.push_back(onset ? aubio_onset_get_last_s(onset) : aubio_tempo_get_last_s(tempo));
    }
    del_fvec(in);
    del_fvec(found);
    if (onset) del_aubio_onset(onset);
    if (tempo) del_aubio_tempo(tempo);
    return times;
}

double rms(const float* mono, size_t count, int rate, double from, double to) {
    long a = std::max(0L, long(from * rate)), b = std::min(long(count), long(to * rate));
    if (b <= a) return 0;
    double sum = 0;
    for (long i = a; i < b; ++i) sum += double(mono[i]) * mono[i];
    return std::sqrt(sum / double(b - a));
}

// The detector places an onset to within a few milliseconds; the attack is
// where the loudness (the peak of each millisecond) rises most steeply
// within ATTACK_SEARCH of it.
double attack_time(double t, const float* mono, size_t count, int rate) {
    const double ATTACK_SEARCH = 0.025;
    long block = rate / 1000;
    long first = long((t - ATTACK_SEARCH) * rate) / block, last = long((t + ATTACK_SEARCH) * rate) / block;
    double best = t, rise = 0, previous = -1;
    for (long b = first; b <= last; ++b) {
        float peak = 0;
        for (long i = b * block; i < (b + 1) * block; ++i)
            if (i >= 0 && size_t(i) < count) peak = std::max(peak, std::abs(mono[i]));
        if (previous >= 0 && peak - previous > rise) {
            rise = peak - previous;
            best = double(b * block) / rate;
        }
        previous = peak;
    }
    return best;
}

// Onsets with their weights, the strongest 1; onsets that add nothing dropped.
std::vector<music_onset> weigh(const std::vector<double>& times, const float* mono, size_t count, int rate) {
    std::vector<music_onset> out;
    float strongest = 0;
    for (double detected : times) {
        double t = attack_time(detected, mono, count, rate);
        double after = rms(mono, count, rate, t, t + WEIGHT_WINDOW);
        double before = rms(mono, count, rate, t - WEIGHT_WINDOW, t);
        float rise = float(std::max(0.0, after - before));
        // Two onsets the attack search moved onto one are one.
        if (t < 0 || rise <= 0 || (!out.empty() && t < out.back().time + 0.01)) continue;
        out.push_back({t, rise});
        strongest = std::max(strongest, rise);
    }
    for (music_onset& o : out) o.strength /= strongest;
    return out;
}

// The signed distance from `t` to the nearest beat of the grid.
double off_grid(double t, double period, double phase) {
    double k = std::round((t - phase) / period);
    return t - phase - k * period;
}

struct grid {
    double period = 0, phase = 0, score = -1;
};

// The phase that puts the most onset weight within TOLERANCE of a beat for
// one period: a circular histogram of the onsets' phases, 1 ms a bin.
grid best_phase(const std::vector<music_onset>& onsets, double period) {
    int bins = std::max(1, int(period * 1000));
    int reach = int(TOLERANCE * 1000 / 2);
    std::vector<double> hist(size_t(bins), 0.0);
    for (const music_onset& o : onsets) {
        double cycles = o.time / period;
        int bin = int((cycles - std::floor(cycles)) * bins) % bins;
        hist[size_t(bin)] += o.strength;
    }
    grid best;
    best.period = period;
    for (int b = 0; b < bins; ++b) {
        double sum = 0;
        for (int d = -reach; d <= reach; ++d) sum += hist[size_t(((b + d) % bins + bins) % bins)] * (1.0 - std::abs(d) / (reach + 1.0));
        if (sum > best.score) best = {period, (b + 0.5) / bins * period, sum};
    }
    return best;
}

grid search_period(const std::vector<music_onset>& onsets, double guess, double seconds) {
    double step = DRIFT * guess / std::max(seconds, guess);
    grid best;
    for (double p = guess * (1 - SEARCH); p <= guess * (1 + SEARCH); p += step) {
        grid g = best_phase(onsets, p);
        if (g.score > best.score) best = g;
    }
    return best;
}

// Least squares through the onsets on the grid: beat number against time,
// weighted by strength. Moves period and phase to where they really fall.
grid refine(const std::vector<music_onset>& onsets, grid g) {
    for (int round = 0; round < 3; ++round) {
        double sw = 0, sk = 0, st = 0, skk = 0, skt = 0;
        for (const music_onset& o : onsets) {
            if (std::abs(off_grid(o.time, g.period, g.phase)) > TOLERANCE) continue;
            double k = std::round((o.time - g.phase) / g.period), w = o.strength;
            sw += w, sk += w * k, st += w * o.time, skk += w * k * k, skt += w * k * o.time;
        }
        double det = sw * skk - sk * sk;
        if (sw <= 0 || std::abs(det) < 1e-12) break;
        g.period = (sw * skt - sk * st) / det;
        g.phase = (st - g.period * sk) / sw;
    }
    return g;
}

// The weight of the onsets near the grid's even beats and near its odd ones.
void even_odd(const std::vector<music_onset>& onsets, const grid& g, double* even, double* odd) {
    *even = *odd = 0;
    for (const music_onset& o : onsets) {
        if (std::abs(off_grid(o.time, g.period, g.phase)) > TOLERANCE) continue;
        long k = std::lround((o.time - g.phase) / g.period);
        (k % 2 == 0 ? *even : *odd) += o.strength;
    }
}

// From the guess's double down: while every other beat is much weaker than
// the ones between, the beat is the slower grid (on the stronger of the two).
grid beat_level(const std::vector<music_onset>& onsets, double guess, double seconds) {
    grid g = refine(onsets, search_period(onsets, guess / 2, seconds));
    while (60.0 / g.period > MIN_BPM * 2) {
        double even = 0, odd = 0;
        even_odd(onsets, g, &even, &odd);
        if (std::min(even, odd) >= ALIKE * std::max(even, odd) && 60.0 / g.period <= MAX_BPM) break;
        grid slower = {g.period * 2, even >= odd ? g.phase : g.phase + g.period, 0};
        g = refine(onsets, slower);
    }
    return g;
}

// The share of beats between the first and the last onset that have one.
double coverage(const std::vector<music_onset>& onsets, const grid& g) {
    if (onsets.empty()) return 0;
    long first = std::lround((onsets.front().time - g.phase) / g.period);
    long last = std::lround((onsets.back().time - g.phase) / g.period);
    std::vector<bool> hit(size_t(last - first + 1), false);
    for (const music_onset& o : onsets)
        if (std::abs(off_grid(o.time, g.period, g.phase)) <= TOLERANCE)
            hit[size_t(std::lround((o.time - g.phase) / g.period) - first)] = true;
    return double(std::count(hit.begin(), hit.end(), true)) / double(hit.size());
}

// How much the sound changes from one beat to the next, per beat: the
// difference of the normalised spectra of the beat's span and the one before.
std::vector<double> beat_changes(const float* mono, size_t count, int rate, const std::vector<double>& beats) {
    const int n = 4096, bins = 400;  // up to about 4 kHz, where chords and bass live
    aubio_fft_t* fft = new_aubio_fft(n);
    fvec_t* frame = new_fvec(n);
    cvec_t* spectrum = new_cvec(n);
    std::vector<std::vector<double>> spans(beats.size(), std::vector<double>(bins, 0.0));
    for (size_t k = 0; k + 1 < beats.size(); ++k) {
        // The middle of the beat's span: past its attack, before the next.
        double from = beats[k] + 0.15 * (beats[k + 1] - beats[k]);
        long start = long(from * rate);
        for (int i = 0; i < n; ++i) {
            long j = start + i;
            double hann = 0.5 - 0.5 * std::cos(2 * M_PI * i / n);
            frame->data[i] = smpl_t(j >= 0 && size_t(j) < count ? mono[j] * hann : 0.0);
        }
        aubio_fft_do(fft, frame, spectrum);
        double total = 0;
        for (int b = 0; b < bins; ++b) total += spectrum->norm[b];
        for (int b = 0; b < bins && total > 0; ++b) spans[k][size_t(b)] = spectrum->norm[b] / total;
    }
    std::vector<double> change(beats.size(), 0.0);
    for (size_t k = 1; k + 1 < beats.size(); ++k) {
        double d = 0;
        for (int b = 0; b < bins; ++b) d += std::abs(spans[k][size_t(b)] - spans[k - 1][size_t(b)]);
        change[k] = d / 2;
    }
    del_aubio_fft(fft);
    del_fvec(frame);
    del_cvec(spectrum);
    return change;
}

// Which of the four beats of a bar is its first: the one where the harmony
// changes most; when no beat stands out, the first beat that sounds.
int downbeat_of_bar(const std::vector<double>& change, const std::vector<double>& beats,
                    const std::vector<music_onset>& onsets) {
    double sum[4] = {0, 0, 0, 0};
    for (size_t k = 1; k + 1 < change.size(); ++k) sum[k % 4] += change[k];
    int best = int(std::max_element(sum, sum + 4) - sum);
    double second = 0;
    for (int j = 0; j < 4; ++j)
        if (j != best) second = std::max(second, sum[j]);
    if (sum[best] > 1.3 * second) return best;
    for (size_t k = 0; k < beats.size(); ++k)
        for (const music_onset& o : onsets)
            if (std::abs(o.time - beats[k]) <= TOLERANCE && o.strength > 0.2) return int(k % 4);
    return 0;
}

// The median gap between the beat tracker's beats: the first guess.
double tracked_period(std::vector<double> beats) {
    if (beats.size() < 4) return 0;
    std::vector<double> gaps;
    for (size_t i = 1; i < beats.size(); ++i) gaps.push_back(beats[i] - beats[i - 1]);
    std::nth_element(gaps.begin(), gaps.begin() + long(gaps.size() / 2), gaps.end());
    return gaps[gaps.size() / 2];
}

}  // namespace

double analysis_grid_confidence(const std::vector<music_onset>& onsets, double period, double phase) {
    double on = 0, all = 0;
    for (const music_onset& o : onsets) {
        all += o.strength;
        if (std::abs(off_grid(o.time, period, phase)) <= TOLERANCE) on += o.strength;
    }
    if (all <= 0 || period <= 0) return 0;
    double chance = std::min(1.0, 2 * TOLERANCE / period);
    if (chance >= 1) return 0;
    double precision = std::max(0.0, (on / all - chance) / (1 - chance));
    return precision * coverage(onsets, {period, phase, 0});
}

std::vector<music_onset> music_onsets(const float* mono, size_t count, int rate) {
    return weigh(detect(mono, count, rate, true), mono, count, rate);
}

music_analysis music_analyse(const float* mono, size_t count, int rate) {
    music_analysis a;
    if (rate <= 0) return a;
    a.seconds = double(count) / rate;
    a.onsets = music_onsets(mono, count, rate);
    a.silent = a.onsets.empty();
    if (a.onsets.size() < 4) return a;
    double guess = tracked_period(detect(mono, count, rate, false));
    if (a.onsets.size() < 4 || guess <= 0) return a;
    grid g = beat_level(a.onsets, 60.0 / std::min(MAX_BPM, std::max(MIN_BPM, 60.0 / guess)), a.seconds);
    // A fit the onsets pulled off every sensible tempo is no tempo.
    if (!(g.period >= 60.0 / MAX_BPM && g.period <= 60.0 / MIN_BPM)) return a;
    a.bpm = 60.0 / g.period;
    a.confidence = analysis_grid_confidence(a.onsets, g.period, g.phase);
    a.steady = a.confidence >= ANALYSIS_MIN_CONFIDENCE;
    for (double factor : {0.5, 2.0}) {
        grid other = refine(a.onsets, best_phase(a.onsets, g.period / factor));
        double c = analysis_grid_confidence(a.onsets, other.period, other.phase);
        if (c >= 0.8 * a.confidence && c > 0) a.alternatives.push_back({60.0 / other.period, c});
    }
    double first = g.phase - std::floor((g.phase + 0.015) / g.period) * g.period;
    for (double t = first; t < a.seconds; t = first + double(a.beats.size()) * g.period)
        a.beats.push_back(std::max(0.0, t));
    if (a.beats.empty()) return a;
    int bar = downbeat_of_bar(beat_changes(mono, count, rate, a.beats), a.beats, a.onsets);
    a.beat_offset = a.beats[size_t(bar) % a.beats.size()];
    return a;
}
