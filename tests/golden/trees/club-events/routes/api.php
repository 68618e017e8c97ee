<?php
declare(strict_types=1);
// API routes can be added here. The health endpoint is public/api/health.php.
