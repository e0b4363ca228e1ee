try
except try except
on E:n do end;end