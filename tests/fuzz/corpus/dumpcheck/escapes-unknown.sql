SET NAMES utf8mb4;
SET SQL_MODE=@x;
INSERT INTO t VALUES ('a\'); \! touch /tmp/x; -- ');
INSERT INTO `tovary` VALUES (10,'after');
