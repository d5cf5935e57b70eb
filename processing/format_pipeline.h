// The text of a run's output files, made on two threads. The run's thread
// queues jobs, each the text of some lines of one file; a worker formats
// them into chunks of memory, and the chunks go into their files in the
// order the jobs were queued, whichever thread formatted them. The run's
// thread formats a share itself whenever it would otherwise wait. The bytes
// are those that formatting the jobs one after another writes.
//
// The worker calls no platform operation and reads only what the jobs name,
// which the run's thread leaves as it is until the job is written. A run
// allocates nothing here: the memory is kept from run to run.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <thread>
#include <vector>

#include "processing/large_memory.h"
#include "processing/shaft_quantities.h"

namespace tz {

class OutputFile;
class Progress;

// Who formats the text of the runs started from now on.
enum class FormatShare {
  Both,           // a worker for a large run, helped by the run's thread when it would wait
  WorkerOnly,     // the worker formats every job, even of a small run; the run's thread waits
  RunThreadOnly,  // no worker: each job is formatted and written as it is queued
};
void SetFormatShare(FormatShare share);
FormatShare CurrentFormatShare();

// The text of lines [from, to) of what data points to, written from out on
// (never past end); returns its length.
struct FormatJob {
  size_t (*format)(const FormatJob& job, char* out, char* end);
  const void* data;
  int32_t from, to;
};

class FormatPipeline {
 public:
  using Ticket = uint64_t;
  // Room for the text of one job; the queuing code keeps its jobs within it.
  static constexpr size_t kChunkBytes = (size_t{1} << 20) + 4096;
  // Samples of a block (TakeBlock): the data lines of one job.
  static constexpr int kBlockLines = 4096;
  // With FormatShare::Both, the first job of at least this many lines starts
  // the worker; a smaller run is formatted on its own thread.
  static constexpr int kWorkerLines = kBlockLines;
  // The longest text QueueText takes.
  static constexpr size_t kMaxText = 4096;

  explicit FormatPipeline(FormatShare share = CurrentFormatShare());
  ~FormatPipeline() { Stop(); }
  FormatPipeline(const FormatPipeline&) = delete;
  FormatPipeline& operator=(const FormatPipeline&) = delete;

  // Queues a job for file f: its text comes after that of every job queued
  // before. Returns its ticket.
  Ticket Queue(OutputFile& f, const FormatJob& job);
  // Queues text as it is (at most kMaxText bytes; more is cut).
  Ticket QueueText(OutputFile& f, const char* text, size_t n);
  // A block of kBlockLines samples to fill and queue with QueueBlock; waits
  // while none is free (formatting a job meanwhile, with FormatShare::Both).
  EmittedSample* TakeBlock();
  // Queues the first count samples of a block taken, formatted by format
  // with the block as its data; the block is free again once formatted.
  Ticket QueueBlock(OutputFile& f, EmittedSample* block, int count,
                    size_t (*format)(const FormatJob&, char*, char*));
  // Asks the worker to map the pages of [p, p + bytes) before its next job:
  // memory the run's thread will write soon, whose first touch costs more
  // than the writing. Nothing without a worker (a request may be dropped).
  void Prefault(const void* p, size_t bytes);
  // Returns once the job of the ticket and all before it are in their files.
  void WaitFor(Ticket ticket);
  // Returns once every job queued is in its file.
  void Drain();
  // Drops the jobs no thread has begun and returns once none is being
  // formatted or written; what is queued later is dropped too.
  void Cancel();
  // Cancel, and the worker gone: nothing touches the files afterwards.
  void Stop();

  // Jobs formatted so far by the run's thread and by the worker.
  struct Counts {
    int runThread = 0, worker = 0;
  };
  Counts Formatted();

 private:
  enum class State : uint8_t { Queued, Formatting, Formatted, Written };
  struct Entry {
    FormatJob job;
    OutputFile* file;
    State state;
    int chunk;      // holds the text from the start of the formatting to the write
    int block;      // the block of samples the job reads (-1: none)
    size_t length;  // of the text
  };
  struct Pages {
    const void* at;
    size_t bytes;
  };
  using Lock = std::unique_lock<std::mutex>;
  using Condition = bool (FormatPipeline::*)(Ticket) const;
  static constexpr int kBlocks = 4, kChunks = 4;
  static constexpr int kEntries = 256;  // jobs queued and not yet written, at most
  static constexpr size_t kTextArea = 16 * kMaxText;
  static constexpr int kMaxPrefaults = 64;
  static constexpr size_t kGuard = 4096;  // between the parts of the memory

  Entry& At(Ticket t) { return entries_[t % kEntries]; }
  const Entry& At(Ticket t) const { return entries_[t % kEntries]; }
  Ticket Add(Lock& lock, OutputFile& f, const FormatJob& job, int block);
  bool Threaded() const { return worker_.joinable(); }
  void StartWorker();
  void WorkerLoop();
  bool OldestQueued(Ticket* t) const;
  void Claim(Ticket t);
  bool HelpOne(Lock& lock);
  void WaitHelping(Lock& lock, Condition done, Ticket t);
  bool BlockFree(Ticket) const { return blocks_ > 0; }
  bool RoomForJob(Ticket) const { return queued_ - written_ < kEntries; }
  bool WrittenUpTo(Ticket t) const { return written_ > t || written_ == queued_; }
  void Format(Lock& lock, Ticket t, bool byWorker);
  void WriteInOrder(Lock& lock);
  char* Chunk(int i) const;
  EmittedSample* Block(int i) const;
  char* TextArea() const;

  const FormatShare share_;
  RunBuffer memory_;  // the blocks, the chunks and the text area, each followed by a guard
  std::mutex lock_;
  std::condition_variable changed_;
  Entry entries_[kEntries];
  Ticket queued_ = 0;   // tickets given so far
  Ticket written_ = 0;  // the jobs before it are in their files
  int freeChunk_[kChunks], chunks_ = 0;
  int freeBlock_[kBlocks], blocks_ = 0;
  size_t textUsed_ = 0;  // of the text area
  Pages prefaults_[kMaxPrefaults];
  int prefaultCount_ = 0;
  bool writing_ = false;  // a thread is writing (the lock released)
  bool cancelled_ = false, stop_ = false, noWorker_ = false;
  Counts counts_;
  std::thread worker_;
};

// Lines queued as jobs, for the progress as they reach their file.
struct QueuedLines {
  FormatPipeline::Ticket ticket;
  int32_t from, to;
};
// Reports the progress of the lines (done / total, under text) as each job
// reaches its file: the positions and text that reporting line by line
// while writing them gave.
void ReportWhenWritten(FormatPipeline& out, Progress& progress,
                       const std::vector<QueuedLines>& jobs, int32_t total, const char* text);

}  // namespace tz
