#include "playback/SoundPlayer.h"

#include <algorithm>

CSoundPlayer::CSoundPlayer(CSoundBuffer& playedSound, CWaveOut& device) : waveOut(device), sound(playedSound) {}

CSoundPlayer::~CSoundPlayer()
{
    StopPlay();
}

PlayResult CSoundPlayer::StartPlay(PlayRequest* request)
{
    StopPlay();
    playRequest = request;
    playStopped = false;
    playedOut = false;
    playStart = 0;
    playCursor = 0;
    moreData = false;
    currentBlock = 0;
    playEnd = 0;
    if (request != nullptr && request->useRange == 1) {
        playStart = request->rangeStart;
        playEnd = request->rangeEnd;
    } else if (request != nullptr) {
        playEnd = request->fullLength;
    }
    // Never hand the device anything outside the sample array.
    const std::int32_t available = sound.samples ? std::max(sound.sampleCount, 0) : 0;
    playStart = std::clamp(playStart, 0, available);
    playEnd = std::clamp(playEnd, 0, available);
    playLength = playEnd - playStart;
    playCursor = playStart;
    if (playLength <= 0)
        return PlayLengthZero;

    playFormat = WaveFormat{};
    CopyFormat(sound.format, playFormat);
    playFormat.extraSize = 0;
    if (!waveOut.QueryFormat(playFormat))
        return PlayFormatNotSupported;

    completionsHeld = true;
    if (!waveOut.Open(playFormat, &CSoundPlayer::OnWaveOutDone, this)) {
        ReleaseCompletions();
        return PlayOpenFailed;
    }
    deviceOpen = true;
    playBlocks = {};
    int failures = 0;
    for (WaveBlock& block : playBlocks) {
        if (FillNext(block)) {
            failures += waveOut.Prepare(block) ? 0 : 1;
            failures += waveOut.Queue(block) ? 0 : 1;
        }
    }
    if (failures != 0) {
        // A block may already be with the device: StopPlay resets before releasing.
        playStopped = true;
        ReleaseCompletions();
        StopPlay();
        return PlayDriverFailure;
    }
    playStopped = false;
    ReleaseCompletions();
    return PlayOK;
}

bool CSoundPlayer::FillBlock(WaveBlock& block, std::int32_t& cursor, std::int32_t end) const
{
    if (end <= cursor)
        return false;
    const std::int32_t n = std::min(end - cursor, kBlockSamples);
    block.data = sound.samples.get() + cursor;
    block.bufferLength = static_cast<std::uint32_t>(n) * 2;
    cursor += n;
    return true;
}

std::int16_t CSoundPlayer::PlayProgress() const
{
    if (playLength <= 0)
        return 0;
    return static_cast<std::int16_t>((playCursor.load() - playStart) * 100.0 / playLength);
}

void CSoundPlayer::RequestStop()
{
    playStopped = true;
}

void CSoundPlayer::StopPlay()
{
    if (!deviceOpen)
        return;
    playStopped = true;
    if (playedOut)
        waveOut.Drain();
    else
        waveOut.Reset();
    for (WaveBlock& block : playBlocks)
        waveOut.Unprepare(block);
    waveOut.Close();
    deviceOpen = false;
}

void CSoundPlayer::OnWaveOutDone(void* instance)
{
    if (instance == nullptr)
        return;
    CSoundPlayer& player = *static_cast<CSoundPlayer*>(instance);
    player.completionsHeld.wait(true);
    if (player.playStopped)
        return;
    const std::int16_t finished = player.currentBlock;
    WaveBlock& block = player.playBlocks[static_cast<std::size_t>(finished)];
    const bool lastBlock = !player.moreData;
    if (!lastBlock) {
        player.waveOut.Unprepare(block);
        if (player.FillNext(block)) {
            player.waveOut.Prepare(block);
            player.waveOut.Queue(block);
        }
    }
    player.currentBlock = static_cast<std::int16_t>((finished + 1) & 1);
    if (lastBlock) {
        player.playedOut = true;
        player.playStopped = true;
    }
}

bool CSoundPlayer::FillNext(WaveBlock& block)
{
    std::int32_t cursor = playCursor;
    const bool filled = FillBlock(block, cursor, playEnd);
    playCursor = cursor;
    moreData = filled;
    return filled;
}

void CSoundPlayer::ReleaseCompletions()
{
    completionsHeld = false;
    completionsHeld.notify_all();
}
