SET NAMES utf8mb4;
INSERT INTO mysql.user VALUES ('x');
INSERT INTO `tovary` VALUES (10,'after');
