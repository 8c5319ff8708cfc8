// Work done on several threads and handed on in order: results are taken in
// the order of their numbers on the calling thread, however the threads finish.
#ifndef TARVOLO_RESULTS_READ_ORDERED_WORK_H
#define TARVOLO_RESULTS_READ_ORDERED_WORK_H

#include <condition_variable>
#include <cstddef>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

// Runs work(0) ... work(count - 1) on up to `threads` threads and calls take
// with each result on the calling thread, in order. No more than `ahead`
// results wait to be taken, so that memory stays bounded however many there
// are. take returns false to stop: work not yet begun is not begun.
template <typename Result>
void RunInOrder(std::size_t count, unsigned threads, std::size_t ahead,
                const std::function<Result(std::size_t)>& work,
                const std::function<bool(std::size_t, Result&)>& take) {
  std::mutex mutex;
  std::condition_variable changed;
  std::vector<std::optional<Result>> results(count);
  std::size_t begun = 0, taken = 0;
  bool stopped = false;

  const auto worker = [&] {
    std::unique_lock<std::mutex> lock(mutex);
    for (;;) {
      changed.wait(lock, [&] { return stopped || begun >= count || begun < taken + ahead; });
      if (stopped || begun >= count) return;
      const std::size_t index = begun++;
      lock.unlock();
      Result result = work(index);
      lock.lock();
      results[index] = std::move(result);
      changed.notify_all();
    }
  };
  std::vector<std::thread> pool;
  for (unsigned i = 0; i < threads && i < count; ++i) pool.emplace_back(worker);

  for (std::size_t index = 0; index < count; ++index) {
    std::unique_lock<std::mutex> lock(mutex);
    changed.wait(lock, [&] { return results[index].has_value(); });
    Result result = std::move(*results[index]);
    results[index].reset();
    taken = index + 1;
    changed.notify_all();
    lock.unlock();
    if (!take(index, result)) {
      lock.lock();
      stopped = true;
      changed.notify_all();
      break;
    }
  }
  for (std::thread& thread : pool) thread.join();
}

#endif
