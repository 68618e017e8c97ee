<!doctype html>
<html lang="en">
<head>
    <meta charset="utf-8">
    <meta name="viewport" content="width=device-width, initial-scale=1">
    <title><?= htmlspecialchars($title ?? 'Small Press', ENT_QUOTES, 'UTF-8') ?></title>
    <link href="https://cdn.jsdelivr.net/npm/bootstrap@5.3.3/dist/css/bootstrap.min.css" rel="stylesheet" integrity="sha384-QWTKZyjpPEjISv5WaRU9OFeRpok6YctnYmDr5pNlyT2bRjXh0JMhjY6hW+ALEwIH" crossorigin="anonymous">
    <link rel="stylesheet" href="<?= htmlspecialchars(url('/assets/css/app.css'), ENT_QUOTES, 'UTF-8') ?>">
</head>
<body class="ktb-theme-studio ktb-layout-dashboard">
    <main class="container ktb-shell py-4">
        <header class="d-flex flex-wrap align-items-center gap-3 mb-4 pb-3 border-bottom">
            <a href="<?= htmlspecialchars(url('/'), ENT_QUOTES, 'UTF-8') ?>" class="text-decoration-none fs-5"><strong>Small Press</strong></a>
            <nav class="d-flex flex-wrap gap-3">
                <?php foreach ((class_exists('Schema') ? Schema::entities() : []) as $navEntity): ?>
                <a class="link-secondary text-decoration-none" href="<?= e(url('/' . $navEntity['id'])) ?>"><?= e($navEntity['name'] ?? $navEntity['id']) ?></a>
                <?php endforeach; ?>
                <a class="link-secondary text-decoration-none" href="<?= htmlspecialchars(url('/about'), ENT_QUOTES, 'UTF-8') ?>">About</a>
            </nav>
        </header>
        <?php require $viewFile; ?>
    </main>
    <script src="<?= htmlspecialchars(url('/assets/js/app.js'), ENT_QUOTES, 'UTF-8') ?>" defer></script>
    <?php if (is_file(dirname(__DIR__, 3) . '/public/sw.js')): ?><script src="<?= htmlspecialchars(url('/assets/js/sw-register.js'), ENT_QUOTES, 'UTF-8') ?>" data-service-worker="<?= e(url('/sw.js')) ?>" defer></script><?php endif; ?>
</body>
</html>
