// Where the virtual keyboard plays: an output that takes short MIDI
// messages (status and up to two data bytes) and may be closed.
#pragma once

class KeyboardPort {
public:
    virtual bool OutputOpen() const = 0;
    virtual int OutMess(int status, int data1, int data2) = 0;

protected:
    ~KeyboardPort() = default;
};
