#include "processing/format_pipeline.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <system_error>

#include "processing/files.h"
#include "processing/run_context.h"

namespace tz {

namespace {

std::atomic<FormatShare> g_share{FormatShare::Both};

constexpr size_t kBlockBytes = FormatPipeline::kBlockLines * sizeof(EmittedSample);

size_t CopyText(const FormatJob& job, char* out, char* end) {
  const size_t n = std::min(static_cast<size_t>(job.to), static_cast<size_t>(end - out));
  std::memcpy(out, job.data, n);
  return n;
}

}  // namespace

void SetFormatShare(FormatShare share) { g_share.store(share); }
FormatShare CurrentFormatShare() { return g_share.load(); }

FormatPipeline::FormatPipeline(FormatShare share)
    : share_(share),
      memory_(kBlocks * (kBlockBytes + kGuard) + kChunks * (kChunkBytes + kGuard) + kTextArea +
              kGuard) {
  for (int i = 0; i < kBlocks; ++i) PoisonGuard(Block(i) + kBlockLines, kGuard);
  for (int i = 0; i < kChunks; ++i) PoisonGuard(Chunk(i) + kChunkBytes, kGuard);
  PoisonGuard(TextArea() + kTextArea, kGuard);
  for (int i = kBlocks - 1; i >= 0; --i) freeBlock_[blocks_++] = i;
  for (int i = kChunks - 1; i >= 0; --i) freeChunk_[chunks_++] = i;
}

void FormatPipeline::Stop() {
  Cancel();
  {
    Lock lock(lock_);
    stop_ = true;
  }
  changed_.notify_all();
  if (worker_.joinable()) worker_.join();
  // The memory goes to the next run as it came.
  for (int i = 0; i < kBlocks; ++i) UnpoisonGuard(Block(i) + kBlockLines, kGuard);
  for (int i = 0; i < kChunks; ++i) UnpoisonGuard(Chunk(i) + kChunkBytes, kGuard);
  UnpoisonGuard(TextArea() + kTextArea, kGuard);
}

EmittedSample* FormatPipeline::Block(int i) const {
  return reinterpret_cast<EmittedSample*>(memory_.data() + i * (kBlockBytes + kGuard));
}

char* FormatPipeline::Chunk(int i) const {
  return memory_.data() + kBlocks * (kBlockBytes + kGuard) + i * (kChunkBytes + kGuard);
}

char* FormatPipeline::TextArea() const { return Chunk(kChunks); }

FormatPipeline::Ticket FormatPipeline::Queue(OutputFile& f, const FormatJob& job) {
  Lock lock(lock_);
  return Add(lock, f, job, -1);
}

FormatPipeline::Ticket FormatPipeline::QueueText(OutputFile& f, const char* text, size_t n) {
  n = std::min(n, kMaxText);
  Lock lock(lock_);
  // The area is used from its start again once every text in it is written.
  if (textUsed_ + n > kTextArea) WaitHelping(lock, &FormatPipeline::WrittenUpTo, queued_);
  if (written_ == queued_) textUsed_ = 0;
  char* copy = TextArea() + textUsed_;
  std::memcpy(copy, text, n);
  textUsed_ += n;
  return Add(lock, f, FormatJob{CopyText, copy, 0, static_cast<int32_t>(n)}, -1);
}

EmittedSample* FormatPipeline::TakeBlock() {
  Lock lock(lock_);
  WaitHelping(lock, &FormatPipeline::BlockFree, 0);
  return Block(freeBlock_[--blocks_]);
}

FormatPipeline::Ticket FormatPipeline::QueueBlock(OutputFile& f, EmittedSample* block, int count,
                                                  size_t (*format)(const FormatJob&, char*,
                                                                   char*)) {
  int index = -1;
  for (int k = 0; k < kBlocks; ++k)
    if (Block(k) == block) index = k;
  Lock lock(lock_);
  return Add(lock, f, FormatJob{format, block, 0, count}, index);
}

FormatPipeline::Ticket FormatPipeline::Add(Lock& lock, OutputFile& f, const FormatJob& job,
                                           int block) {
  WaitHelping(lock, &FormatPipeline::RoomForJob, 0);
  const Ticket t = queued_++;
  At(t) = Entry{job, &f, State::Queued, -1, block, 0};
  if (cancelled_) {
    Entry& e = At(t);
    e.state = State::Formatted;
    if (e.block >= 0) freeBlock_[blocks_++] = e.block;
    e.block = -1;
    WriteInOrder(lock);
    return t;
  }
  const bool large = job.to - job.from >= kWorkerLines;
  if (!Threaded() && !noWorker_ &&
      (share_ == FormatShare::WorkerOnly || (share_ == FormatShare::Both && large)))
    StartWorker();
  if (Threaded()) {
    changed_.notify_all();
    return t;
  }
  // No worker: formatted and written now, in order (nothing else is pending).
  Claim(t);
  Format(lock, t, false);
  WriteInOrder(lock);
  return t;
}

void FormatPipeline::StartWorker() {
  try {
    worker_ = std::thread([this] { WorkerLoop(); });
  } catch (const std::system_error&) {
    noWorker_ = true;  // no second thread to be had: the run's thread formats all
  }
}

void FormatPipeline::Prefault(const void* p, size_t bytes) {
  Lock lock(lock_);
  if (!Threaded() || cancelled_ || prefaultCount_ == kMaxPrefaults) return;
  prefaults_[prefaultCount_++] = Pages{p, bytes};
  changed_.notify_all();
}

bool FormatPipeline::OldestQueued(Ticket* t) const {
  for (Ticket i = written_; i < queued_; ++i) {
    if (At(i).state == State::Queued) {
      *t = i;
      return true;
    }
  }
  return false;
}

void FormatPipeline::Claim(Ticket t) {
  Entry& e = At(t);
  e.state = State::Formatting;
  e.chunk = freeChunk_[--chunks_];
}

void FormatPipeline::WorkerLoop() {
  Lock lock(lock_);
  Pages pages[kMaxPrefaults];
  for (;;) {
    Ticket t = 0;
    changed_.wait(lock, [&] {
      return stop_ || prefaultCount_ > 0 || (chunks_ > 0 && OldestQueued(&t));
    });
    if (stop_) return;
    if (prefaultCount_ > 0) {
      const int n = prefaultCount_;
      std::copy(prefaults_, prefaults_ + n, pages);
      prefaultCount_ = 0;
      lock.unlock();
      for (int i = 0; i < n; ++i) PrefaultPages(pages[i].at, pages[i].bytes);
      lock.lock();
      continue;
    }
    Claim(t);
    Format(lock, t, true);
    WriteInOrder(lock);
  }
}

// The run's thread takes the newest job no thread has begun, so that the
// worker, taking the oldest, reaches it last. It leaves a chunk free for the
// worker, which then always has one for the oldest job: the jobs before
// the run's thread's are never held up for want of memory.
bool FormatPipeline::HelpOne(Lock& lock) {
  if (share_ != FormatShare::Both || !Threaded() || chunks_ < 2) return false;
  for (Ticket i = queued_; i-- > written_;) {
    if (At(i).state != State::Queued) continue;
    Claim(i);
    Format(lock, i, false);
    WriteInOrder(lock);
    return true;
  }
  return false;
}

void FormatPipeline::WaitHelping(Lock& lock, Condition done, Ticket t) {
  while (!(this->*done)(t))
    if (!HelpOne(lock)) changed_.wait(lock);
}

void FormatPipeline::Format(Lock& lock, Ticket t, bool byWorker) {
  const FormatJob job = At(t).job;
  OutputFile* file = At(t).file;
  char* out = Chunk(At(t).chunk);
  lock.unlock();
  // A file that failed takes no more text: its jobs need none.
  const size_t length = file->Failed() ? 0 : job.format(job, out, out + kChunkBytes);
  lock.lock();
  Entry& e = At(t);
  e.length = length;
  e.state = State::Formatted;
  if (e.block >= 0) freeBlock_[blocks_++] = e.block;
  e.block = -1;
  ++(byWorker ? counts_.worker : counts_.runThread);
  changed_.notify_all();
}

// Whoever formatted a job writes what is ready in order; one thread at a
// time writes, the other finds its text written by it.
void FormatPipeline::WriteInOrder(Lock& lock) {
  while (!writing_ && written_ < queued_ && At(written_).state == State::Formatted) {
    writing_ = true;
    const Entry e = At(written_);
    const bool skip = cancelled_;
    lock.unlock();
    if (!skip && e.length > 0) e.file->WriteBlock(Chunk(e.chunk), e.length);
    lock.lock();
    At(written_).state = State::Written;
    if (e.chunk >= 0) freeChunk_[chunks_++] = e.chunk;
    ++written_;
    writing_ = false;
    changed_.notify_all();
  }
}

void FormatPipeline::WaitFor(Ticket ticket) {
  Lock lock(lock_);
  WaitHelping(lock, &FormatPipeline::WrittenUpTo, ticket);
}

void FormatPipeline::Drain() {
  Lock lock(lock_);
  WaitHelping(lock, &FormatPipeline::WrittenUpTo, queued_);
}

void FormatPipeline::Cancel() {
  Lock lock(lock_);
  cancelled_ = true;
  prefaultCount_ = 0;
  for (Ticket i = written_; i < queued_; ++i) {
    Entry& e = At(i);
    if (e.state != State::Queued) continue;
    e.state = State::Formatted;
    e.length = 0;
    if (e.block >= 0) freeBlock_[blocks_++] = e.block;
    e.block = -1;
  }
  WriteInOrder(lock);
  changed_.wait(lock, [&] { return written_ == queued_; });
}

FormatPipeline::Counts FormatPipeline::Formatted() {
  Lock lock(lock_);
  return counts_;
}

void ReportWhenWritten(FormatPipeline& out, Progress& progress,
                       const std::vector<QueuedLines>& jobs, int32_t total, const char* text) {
  for (const QueuedLines& j : jobs) {
    out.WaitFor(j.ticket);
    progress.ReportRange(j.from, j.to, total, text);
  }
}

}  // namespace tz
