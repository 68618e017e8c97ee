<section class="py-4 page-about">
  <div class="container-fluid">
    <div class="mb-4">
      <span class="badge text-bg-primary mb-2">about</span>
      <h1 class="display-6 fw-bold"><?= htmlspecialchars($title ?? 'About', ENT_QUOTES, 'UTF-8') ?></h1>
    </div>
    <div class="card border-0 shadow-sm rounded-4"><div class="card-body p-4 p-lg-5">
      <div class="page-content">Books.</div>
    </div></div>
  </div>
</section>
