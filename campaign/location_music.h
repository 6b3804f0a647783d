// TLocationMusic: the music of the campaign's sale locations, played through the
// application's sound link (looping, in the music group). Only the first location's piece
// is used today.
#pragma once

class TApplication;

class TLocationMusic {
 public:
  static constexpr char kFile[] = "audio/music/music_grandmasattic.ogg";

  explicit TLocationMusic(TApplication& app) : mApp(app) {}

  void Play();
  // Stops the location's music; other music (the menu's) keeps playing.
  void Stop();
  bool IsPlaying() const;

 private:
  TApplication& mApp;
};
